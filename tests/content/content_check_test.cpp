#include "content/content_check.h"

#include <gtest/gtest.h>

#include "content/content_test_util.h"

namespace krinu {
namespace {

using test::Grid;

const TColumnSelection kAll{{1, 2, 3, 4, 5, 6}};

TPreviewGrid HeaderGrid(const QString& net, const QString& vat) {
  return Grid({"Adószám;Név;Dátum;Szám;Nettó;ÁFA",
               " 12345678-1-23 ;ACME Kft;2020.01.15;S-1;1.000,00;270,00",
               "12345678;Béta Bt;2020.01.16;S-2;" + net + ";" + vat},
              true);
}

TEST(ContentCheck, PassesAndFailsPerColumn) {
  TContentCheck c =
      CheckInputDataContent(HeaderGrid("-1.000,00", "-270,00"), true, kAll, "yyyy.mm.dd", 0);
  EXPECT_TRUE(c.Result);
  EXPECT_EQ(c.AdoszamMark, CheckMark::Passed);
  EXPECT_EQ(c.DatumMark, CheckMark::Passed);
  EXPECT_EQ(c.OsszegMark, CheckMark::Passed);

  // The header row is not examined; without the header flag it is, and fails everything.
  c = CheckInputDataContent(HeaderGrid("1000", "270"), false, kAll, "yyyy.mm.dd", 0);
  EXPECT_FALSE(c.Result);
  EXPECT_EQ(c.AdoszamMark, CheckMark::Failed);
  EXPECT_EQ(c.DatumMark, CheckMark::Failed);
  EXPECT_EQ(c.OsszegMark, CheckMark::Failed);
  EXPECT_TRUE(c.Passed[dcMegnevezes]);

  // VAT above half the net fails both amounts; a wrong date format fails the date only.
  c = CheckInputDataContent(HeaderGrid("1000", "600"), true, kAll, "dd.mm.yyyy", 0);
  EXPECT_EQ(c.Passed, (std::array<bool, 6>{true, true, false, true, false, false}));
  EXPECT_EQ(c.OsszegMark, CheckMark::Failed);

  // A net amount that does not convert fails the net, the VAT keeps its own result.
  c = CheckInputDataContent(HeaderGrid("1000 Ft", "270"), true, kAll, "yyyy.mm.dd", 0);
  EXPECT_FALSE(c.Passed[dcAFAAlap]);
  EXPECT_TRUE(c.Passed[dcAFA]);
  EXPECT_EQ(c.OsszegMark, CheckMark::Failed);
}

TEST(ContentCheck, UnassignedColumnsLeaveTheirMarks) {
  const TContentCheck c = CheckInputDataContent(
      HeaderGrid("1000", "270"), true, TColumnSelection{{0, 0, 0, 0, 5, 0}}, "yyyy.mm.dd", 0);
  EXPECT_FALSE(c.Result);
  EXPECT_EQ(c.Passed, (std::array<bool, 6>{}));
  EXPECT_FALSE(c.AdoszamMark);
  EXPECT_FALSE(c.DatumMark);
  EXPECT_FALSE(c.OsszegMark);
}

TEST(ContentCheck, DecimalSeparatorAndSameColumnForNetAndVat) {
  const TPreviewGrid point = HeaderGrid("1,000.00", "270.00");
  // No selection reads as "Vessző": "1.000,00" fine, "1,000.00" is 1.0 then and 270 > 0.5.
  EXPECT_FALSE(CheckInputDataContent(point, true, kAll, "yyyy.mm.dd", -1).Result);
  EXPECT_FALSE(CheckInputDataContent(point, true, kAll, "yyyy.mm.dd", 0).Result);
  const TPreviewGrid allPoint =
      Grid({"h;h;h;h;h;h", "12345678;A;2020.01.15;S;1,000.00;270.00"}, true);
  EXPECT_TRUE(CheckInputDataContent(allPoint, true, kAll, "yyyy.mm.dd", 1).Result);
  EXPECT_EQ(DecSepsOf(1).Thousand, u',');
  EXPECT_EQ(DecSepsOf(-1).Decimal, u',');

  // |x| > |x| / 2 for every x but zero.
  const TColumnSelection same{{1, 2, 3, 4, 5, 5}};
  EXPECT_FALSE(CheckInputDataContent(HeaderGrid("1000", "0"), true, same, "yyyy.mm.dd", 0).Result);
  const TPreviewGrid zeros = Grid({"h;h;h;h;h;h", "12345678;A;2020.01.15;S;0;0"}, true);
  EXPECT_TRUE(CheckInputDataContent(zeros, true, same, "yyyy.mm.dd", 0).Result);
}

TEST(ContentCheck, FailureMessage) {
  EXPECT_EQ(ContentCheckFailureMessage("Input Fájl adatai", "Input File adatainak ellenőrzése"),
            "Az aktuális adat-összerendelés alapján végzett tartalom-ellenőrzés megbukott\n"
            "kérem igazítson az adat-összerendeléseken az \"Input Fájl adatai\" panelon\n"
            "majd nyomja meg a \"Input File adatainak ellenőrzése\" gombot");
}

}  // namespace
}  // namespace krinu
