#pragma once
// The arithmetic of a Hungarian tax number (eight digits of the taxpayer's own number, the
// last of them a check digit, then the VAT code and the county code), beside the pattern
// that decides what is loaded and stored: a number that fails here is only worth a
// warning.

#include <QStringView>

namespace krinu {

struct TTaxNumberFaults {
  bool CheckDigit = false;  // the eighth digit is not what the first seven give
  bool VatCode = false;     // the ninth digit is not 1 to 5
  bool County = false;      // the last two are not 02-20, 22-44 or 51
  [[nodiscard]] bool Any() const { return CheckDigit || VatCode || County; }
};

// The faults of digits written with or without "-" and blanks: the check digit of the first
// eight; the VAT and county codes too when there are eleven. Anything else (fewer than
// eight digits, other characters) has none that can be told.
[[nodiscard]] TTaxNumberFaults TaxNumberFaults(QStringView text);

}  // namespace krinu
