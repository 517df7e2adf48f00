#include <kz8mrp/Error.h>
#include <kz8mrp/OleDate.h>

#include <gtest/gtest.h>

using kz8mrp::OleDate;

TEST(OleDate, EpochAndDaysBeforeIt) {
  EXPECT_EQ(OleDate::FromParts(1899, 12, 30).Serial(), 0.0);
  EXPECT_EQ(OleDate::FromParts(1899, 12, 29, 6).Serial(), -1.25);
  EXPECT_EQ(OleDate(-1.25).AddDays(2).ToString(), "1899-12-31 06:00:00");
}
