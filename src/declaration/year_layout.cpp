#include "declaration/year_layout.h"

#include <climits>
#include <iterator>

namespace krinu {

namespace {

constexpr TYearLayout kLayouts[] = {
    {INT_MIN, 20, "0A0001E006A", "0A0001E007A", "0A0001E008A", "0A0001C005A", "0A0001C006A",
     "0A0001C008A", true, 1000},
    {21, 23, "0A0001E006A", "0A0001E007A", "0A0001E008A", "0A0001C004A", "0A0001C005A",
     "0A0001C006A", true, 1000},
    {24, 24, "0A0001E006A", "0A0001E007A", "0A0001E008A", "0A0001C004A", "0A0001C005A",
     "0A0001C006A", false, 1000},
    {25, INT_MAX, "0A0001E007A", "0A0001E008A", "0A0001E009A", "0A0001C004A", "0A0001C005A",
     "0A0001C006A", false, 1},
};

}  // namespace

const TYearLayout& YearLayout(int formYear) {
  for (const TYearLayout& layout : kLayouts)
    if (formYear >= layout.FirstYear && formYear <= layout.LastYear) return layout;
  return *std::prev(std::end(kLayouts));
}

}  // namespace krinu
