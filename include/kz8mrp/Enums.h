#pragma once

#include <cstdint>

namespace kz8mrp {

enum KZ8HourType : std::int32_t {
  KZ8HourTypeOffice = 0,
  KZ8HourTypeWithOT1 = 1,
  KZ8HourTypeWithOT2 = 2,
  KZ8HourType2Shifts = 3,
  KZ8HourTypeFullDay = 4,
  KZ8HourTypeManual = 5,
};

enum KZ8PlanDateType : std::int32_t {
  KZ8PlanDateTypeES = 0,
  KZ8PlanDateTypeLS = 1,
  KZ8PlanDateTypeEF = 2,
  KZ8PlanDateTypeLF = 3,
};

enum KZ8HolidayType : std::int32_t {
  KZ8HolidayTypeSkip = 0,
  KZ8HolidayTypePlan = 1,
  KZ8HolidayTypeManual = 2,
};

enum KZ8SortType : std::int32_t {
  KZ8SortTypeDPL = 0,
  KZ8SortTypeDLP = 1,
  KZ8SortTypePDL = 2,
  KZ8SortTypePLD = 3,
  KZ8SortTypeLDP = 4,
  KZ8SortTypeLPD = 5,
};

}  // namespace kz8mrp
