// Asks an installed engine a planner's question on a database made by the
// installed kz8mrp program; an error ends it with the error's text.
#include <kz8mrp/kz8mrp.h>

#include <iostream>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  kz8mrp::AppObj app;
  kz8mrp::ClientObj client("planner", "PLN", "HQ");
  kz8mrp::DataObj data(argv[1], app, client);
  kz8mrp::MRPObject engine;
  const double hours = engine.GETHourPerDay(kz8mrp::KZ8HourType2Shifts, "CUT", data);
  const bool holiday = engine.isMRPHoliday(kz8mrp::OleDate::Parse("2027-01-01"), "", data);
  std::cout << hours << (holiday ? " holiday" : " working day") << '\n';
  return hours == 16 && holiday ? 0 : 1;  // the demonstration plant's answers
}
