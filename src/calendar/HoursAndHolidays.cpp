// Section hours per day, holidays, and the nearest working date.
#include <kz8mrp/MRPObject.h>

#include "calendar/DayWalk.h"
#include "host/services/ConvertTools.h"
#include "host/services/DbTools.h"
#include "host/services/SettingTools.h"

#include <limits>

namespace kz8mrp {
namespace {

struct Regime {
  const char* section_column;
  const char* setting;  // nullptr: no system setting for this regime
  double default_hours;
};

// Section column first, then the system setting, then the built-in hours.
Regime RegimeOf(KZ8HourType type) {
  switch (type) {
    case KZ8HourTypeWithOT1:
      return {"TSecHWithOT1", "MRPHourPerDayWithOT1", 11};
    case KZ8HourTypeWithOT2:
      return {"TSecHWithOT2", "MRPHourPerDayWithOT2", 13};
    case KZ8HourType2Shifts:
      return {"TSecH2Shift", nullptr, 16};
    case KZ8HourTypeFullDay:
      return {"TSecHFullDay", nullptr, 24};
    default:
      return {"TSecHOffice", "MRPHourPerDay", 8};
  }
}

}  // namespace

double MRPObject::GETHourPerDay(KZ8HourType HourType, const String& SecCode, DataObj& DataObj) {
  const Regime regime = RegimeOf(HourType);
  double hours = DbTools().LookupNumberStr("TSecCode", SecCode, regime.section_column,
                                           "KZ8TSection", DataObj.ConnectionString());
  if (hours == 0 && regime.setting) {
    hours = SettingTools().GetNumberStr(regime.setting, DataObj.ConnectionString());
  }
  return hours == 0 ? regime.default_hours : hours;
}

bool MRPObject::isMRPHoliday(OleDate iDate, const String& /*BranchCode*/, DataObj& DataObj) {
  const String sql = "SELECT TEhdYear FROM KZ8TEmpHoliday WHERE TEhdHolidayDate=#$" +
                     ConvertTools().SQLDate(iDate) + "#$";
  const String converted = DbTools().ConvertSQL(sql, DataObj.DatabaseKind());
  return DbTools().QueryNumberStr("TEhdYear", converted, DataObj.ConnectionString()) != 0;
}

OleDate MRPObject::MoveToOfficeHourDate(OleDate iDate, bool MoveNext, const String& BranchCode,
                                        DataObj& DataObj) {
  // The step grows by a day per try: candidates lie 1, 3, 6, 10 ... days away.
  OleDate candidate = iDate;
  Integer step = 0;
  calendar::WalkObserver* observer = calendar::Observer();
  if (observer) observer->Began({"the holiday calendar from " + iDate.ToString(), {}, {}, 0});
  while (isMRPHoliday(candidate, BranchCode, DataObj)) {
    if (observer) observer->Examined({candidate, 0, 0, 0, true});
    if (step ==
        (MoveNext ? std::numeric_limits<Integer>::max() : std::numeric_limits<Integer>::min())) {
      throw Error(errc::kOverflow, "Overflow");
    }
    step = static_cast<Integer>(MoveNext ? step + 1 : step - 1);
    candidate = candidate.AddDays(step);
  }
  if (observer) {
    observer->Examined({candidate});
    observer->Stopped(candidate.DateText() + " is no holiday");
  }
  return candidate;
}

}  // namespace kz8mrp
