#include "common/tax_number.h"

#include <gtest/gtest.h>

#include <QString>

namespace krinu {
namespace {

TTaxNumberFaults Faults(const char* text) {
  return TaxNumberFaults(QString::fromLatin1(text));
}

TEST(TaxNumber, CheckDigitVatCodeAndCountyAsWrittenOrRunTogether) {
  // 1·9 + 0·7 + 7·3 + 7·1 + 3·9 + 3·7 + 8·3 = 109: the check digit is 1.
  for (const char* good : {"10773381-2-44", "10773381244", "10773381 2 44", "10773381"})
    EXPECT_FALSE(Faults(good).Any()) << good;
  EXPECT_TRUE(Faults("10773382-2-44").CheckDigit);
  EXPECT_TRUE(Faults("12345678-2-42").CheckDigit);  // the first seven give 6
  EXPECT_FALSE(Faults("12345676-2-42").Any());
  // A sum that ends in 0 gives 0, not 10: 1·9 + 1·1 = 10.
  EXPECT_FALSE(Faults("10010000").CheckDigit);
  EXPECT_TRUE(Faults("10010001").CheckDigit);

  for (const char* vat : {"10773381-0-44", "10773381-6-44", "10773381-9-44"})
    EXPECT_TRUE(Faults(vat).VatCode) << vat;
  EXPECT_FALSE(Faults("10773381-1-44").VatCode);
  EXPECT_FALSE(Faults("10773381-5-44").VatCode);

  for (const char* county : {"02", "20", "22", "44", "51"})
    EXPECT_FALSE(Faults(QByteArray("10773381-2-").append(county).constData()).County) << county;
  for (const char* county : {"00", "01", "21", "45", "50", "52", "99"})
    EXPECT_TRUE(Faults(QByteArray("10773381-2-").append(county).constData()).County) << county;
  // Only an eleven-digit number has the codes to check.
  EXPECT_FALSE(Faults("107733819").VatCode);

  // Nothing can be told of what is no tax number of this kind.
  for (const char* other : {"", "1077338", "HU10773381", "10773381-2-441", "1077338x"})
    EXPECT_FALSE(Faults(other).Any()) << other;
}

}  // namespace
}  // namespace krinu
