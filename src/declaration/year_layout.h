#pragma once
// Which fields a form year uses: the field codes that moved between years, the unit of the
// amounts and whether page headers carry the names. Every writer asks this table; no writer
// compares years itself.

#include <string_view>

namespace krinu {

struct TYearLayout {
  int FirstYear;  // the form years (two digits read as a number) this layout serves
  int LastYear;
  // Main sheet: the taxpayer's name and the administrator's name and telephone.
  std::string_view TaxpayerName, AdministratorName, AdministratorPhone;
  // Partner sheet, general part: the taxpayer's name, the partner's number and name.
  std::string_view PartnerTaxpayerName, PartnerNumber, PartnerName;
  // Page headers also carry the taxpayer's name and the partner's number and name.
  bool PageHeaderNames;
  // Amounts are written in units of this many forints (1000 or 1).
  double AmountUnit;
};

// The layout of a form year; years below the table's first (0 for a year that is not a
// number) take the oldest layout.
[[nodiscard]] const TYearLayout& YearLayout(int formYear);

}  // namespace krinu
