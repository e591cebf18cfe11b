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

const std::array<QString, 6> kNames{"Partner adószáma", "Partner megnevezése", "Bizonylat dátuma",
                                    "Bizonylat száma",  "Nettó összeg",        "ÁFA összeg"};

// The three failure texts of a check: the message's (first), and each mark's.
struct Told {
  QString First, Adoszam, Datum, Osszeg;
};
Told TellWhere(const TPreviewGrid& grid, const TColumnSelection& columns,
               const QString& format = "yyyy.mm.dd", int decSep = 0) {
  const TContentCheck c = CheckInputDataContent(grid, grid.FixedRows == 1, columns, format, decSep);
  const auto text = [&](const std::optional<TCheckFailure>& f) {
    return f ? CheckFailureText(*f, grid, kNames) : QString();
  };
  return {text(c.FirstFailure), text(c.AdoszamFailure), text(c.DatumFailure),
          text(c.OsszegFailure)};
}

TEST(ContentCheck, SaysWhereAndWhyItFailedFirst) {
  // Rows as the grid numbers them: the first data row is 1 under a header row.
  TPreviewGrid g = Grid({"Adószám;Név;Dátum;Szám;Nettó;ÁFA", "12345678;A;2020.01.15;S;1000;270",
                         "HU1234;B;15.01.2020;S;1000 Ft;270", "12345678;C;2020.01.17;S;10;6"},
                        true);
  Told t = TellWhere(g, kAll);
  EXPECT_EQ(t.Adoszam, "az előnézet 2. sora, 1. oszlop (Partner adószáma): „HU1234” nem adószám");
  EXPECT_EQ(t.Datum,
            "az előnézet 2. sora, 3. oszlop (Bizonylat dátuma): „15.01.2020” nem dátum a(z) "
            "„yyyy.mm.dd” formátum szerint");
  EXPECT_EQ(t.Osszeg, "az előnézet 2. sora, 5. oszlop (Nettó összeg): „1000 Ft” nem összeg");
  EXPECT_EQ(t.First, t.Adoszam);  // same row: the left one

  // A VAT above half the net blames the VAT cell and quotes both; without a header row the
  // records are numbered from the first.
  g = Grid({"12345678;A;2020.01.15;S;1000;270", "12345678;C;2020.01.17;S;10,0;6"}, false);
  t = TellWhere(g, kAll);
  EXPECT_EQ(t.Osszeg,
            "az előnézet 2. sora, 6. oszlop (ÁFA összeg): az ÁFA (6) nagyobb, mint a nettó érték "
            "(10,0) fele");
  EXPECT_EQ(t.First, t.Osszeg);
  EXPECT_EQ(t.Adoszam, "");

  // The earliest row wins over the column order; of two amounts the earlier row.
  g = Grid({"h;h;h;h;h;h", "12345678;A;2020.01.15;S;1000;x", "HU;A;2020.01.15;S;y;270"}, true);
  t = TellWhere(g, kAll);
  EXPECT_EQ(t.Osszeg, "az előnézet 1. sora, 6. oszlop (ÁFA összeg): „x” nem összeg");
  EXPECT_EQ(t.First, t.Osszeg);

  // No format at all blames no row; an unassigned column comes before any cell.
  t = TellWhere(g, kAll, "");
  EXPECT_EQ(t.Datum, "Bizonylat dátuma: nincs megadva a dátum formátuma");
  EXPECT_EQ(t.First, t.Datum);
  t = TellWhere(g, TColumnSelection{{1, 0, 3, 4, 5, 6}});
  EXPECT_EQ(t.First, "Partner megnevezése: nincs oszlop kijelölve");

  // A passed check blames nothing.
  g = Grid({"12345678;A;2020.01.15;S;1000;270"}, false);
  t = TellWhere(g, kAll);
  EXPECT_EQ(t.First + t.Adoszam + t.Datum + t.Osszeg, "");
}

TEST(ContentCheck, FailureMessage) {
  EXPECT_EQ(ContentCheckFailureMessage("Input Fájl adatai", "Input File adatainak ellenőrzése"),
            "Az aktuális adat-összerendelés alapján végzett tartalom-ellenőrzés megbukott\n"
            "kérem igazítson az adat-összerendeléseken az \"Input Fájl adatai\" panelon\n"
            "majd nyomja meg a \"Input File adatainak ellenőrzése\" gombot");
}

}  // namespace
}  // namespace krinu
