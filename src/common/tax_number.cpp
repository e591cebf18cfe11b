#include "common/tax_number.h"

#include <array>

namespace krinu {

TTaxNumberFaults TaxNumberFaults(QStringView text) {
  std::array<int, 11> digits{};
  int count = 0;
  for (const QChar c : text) {
    if (c == u'-' || c == u' ') continue;
    if (c < u'0' || c > u'9' || count == 11) return {};
    digits[std::size_t(count++)] = c.unicode() - u'0';
  }
  if (count < 8) return {};
  static constexpr std::array<int, 7> kWeights{9, 7, 3, 1, 9, 7, 3};
  int sum = 0;
  for (std::size_t i = 0; i < kWeights.size(); ++i) sum += digits[i] * kWeights[i];
  TTaxNumberFaults faults;
  faults.CheckDigit = (10 - sum % 10) % 10 != digits[7];
  if (count == 11) {
    faults.VatCode = digits[8] < 1 || digits[8] > 5;
    const int county = digits[9] * 10 + digits[10];
    faults.County =
        !((county >= 2 && county <= 20) || (county >= 22 && county <= 44) || county == 51);
  }
  return faults;
}

}  // namespace krinu
