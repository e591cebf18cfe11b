#include "content/column_assignment.h"

#include <gtest/gtest.h>

#include "content/content_test_util.h"

namespace krinu {
namespace {

using test::Grid;

// What the settings file gives when it lacks the keys.
THeaderMasks DefaultMasks() {
  return {QStringList{QStringLiteral("ADÓSZÁM")}, QStringList{QStringLiteral("MEGNEVEZÉS")},
          QStringList{QStringLiteral("DÁTUM")},   QStringList{QStringLiteral("SZÁM")},
          QStringList{QStringLiteral("ALAP")},    QStringList{QStringLiteral("ÁFA")}};
}

std::array<int, 6> Items(const TAssignment& a) {
  return a.Columns.Item;
}

TEST(ColumnAssignment, ComboItemsAndUsedCols) {
  const TPreviewGrid grid = Grid({"Adószám;Név", "1;2"}, true);
  EXPECT_EQ(ColumnComboItems(grid), (QStringList{"Kérem, jelölje ki", "Adószám", "Név"}));

  TUsedCols used;
  used.Add(0);
  used.Add(12);
  EXPECT_EQ(used.Text(), "-0000--0012-");
  EXPECT_TRUE(used.Contains(12));
  EXPECT_FALSE(used.Contains(1));
  EXPECT_FALSE(used.Contains(2));
}

TEST(ColumnAssignment, HeaderExampleFindsFiveOfSix) {
  const TPreviewGrid grid = Grid({"Adószám;Partner neve;Dátum;Számla szám;Nettó alap;ÁFA összeg",
                                  "12345678-1-23;ACME Kft;2020.01.15;S-1;1.000,00;270,00"},
                                 true);
  const TAssignment a = AssignColumns(grid, DefaultMasks(), true);
  // SZÁM is in both "Adószám" and "Számla szám"; the first is taken by the tax number.
  EXPECT_EQ(Items(a), (std::array<int, 6>{1, 0, 3, 4, 5, 6}));
  EXPECT_FALSE(a.Complete());
  EXPECT_EQ(a.DateFormat, QString("yyyy.mm.dd"));
  EXPECT_EQ(a.DecSepIndex, 0);

  // Net with a point decimal separator selects "Pont"; the VAT leaves it alone.
  const TPreviewGrid point = Grid({"Adószám;Megnevezés;Dátum;Számla szám;Nettó alap;ÁFA összeg",
                                   "12345678;ACME Kft;15.03.2020;S-1;1,000,000.50;270,00"},
                                  true);
  const TAssignment b = AssignColumns(point, DefaultMasks(), true);
  EXPECT_TRUE(b.Complete());
  EXPECT_EQ(b.DateFormat, QString("dd.mm.yyyy"));
  EXPECT_EQ(b.DecSepIndex, 1);

  // No settings file: empty lists assign nothing.
  EXPECT_EQ(Items(AssignColumns(grid, THeaderMasks{}, true)), (std::array<int, 6>{}));
}

TEST(ColumnAssignment, HeaderCandidatesAreTestedOnTheirFirstValue) {
  THeaderMasks masks = DefaultMasks();
  // A HU-prefixed tax number is passed over for the next candidate.
  const TPreviewGrid grid = Grid({"Partner adószám;Név;Adószám", "12345678;x;HU12345678"}, true);
  EXPECT_EQ(AssignColumns(grid, masks, true).Columns.Item[dcAdoszam], 1);
  const TPreviewGrid only = Grid({"Adószám;Név", "HU12345678;x"}, true);
  EXPECT_EQ(AssignColumns(only, masks, true).Columns.Item[dcAdoszam], 0);

  // A date that DetectDatumFormat refuses, and an amount with a currency.
  const TPreviewGrid bad = Grid({"Dátum;Nettó alap;ÁFA", "2020-03-03;1000 Ft;270"}, true);
  const TAssignment a = AssignColumns(bad, masks, true);
  EXPECT_EQ(a.Columns.Item[dcDatum], 0);
  EXPECT_FALSE(a.DateFormat);
  EXPECT_EQ(a.Columns.Item[dcAFAAlap], 0);
  EXPECT_FALSE(a.DecSepIndex);
  EXPECT_EQ(a.Columns.Item[dcAFA], 3);
}

TEST(ColumnAssignment, ExclusionMasks) {
  const TPreviewGrid grid = Grid({"Számla szám;Adószám", "S-1;12345678"}, true);
  THeaderMasks masks;
  // Of two tied candidates the right-hand one comes first ...
  masks[dcBizSzam] = QStringList{"SZÁM"};
  EXPECT_EQ(AssignColumns(grid, masks, true).Columns.Item[dcBizSzam], 2);
  // ... unless an exclusion mask keeps it out.
  masks[dcBizSzam] = QStringList{"SZÁM", "-ADÓSZÁM"};
  EXPECT_EQ(AssignColumns(grid, masks, true).Columns.Item[dcBizSzam], 1);
  const std::vector<THdrMskSearchResult> found = SearchHdrMasks(masks[dcBizSzam], grid);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].ColSeq, 0);
  // "-" alone and empty masks do nothing.
  EXPECT_EQ(SearchHdrMasks({"-", "", "SZÁM"}, grid).size(), 2u);
  EXPECT_TRUE(SearchHdrMasks({"", "-"}, grid).empty());
}

std::vector<int> Cols(const std::vector<THdrMskSearchResult>& results) {
  std::vector<int> cols;
  for (const THdrMskSearchResult& r : results) cols.push_back(r.ColSeq);
  return cols;
}

TEST(ColumnAssignment, TieOrderOfTheHeaderSearch) {
  const QStringList masks{"ADÓ", "SZÁM"};
  // Two ties stay as they are (the right-hand one is tried first, from the end) ...
  EXPECT_EQ(Cols(SearchHdrMasks(masks, Grid({"x;Adó;y;z;Adó"}, true))), (std::vector<int>{1, 4}));
  // ... three ties are reversed by the partition (the left-hand one is tried first) ...
  EXPECT_EQ(Cols(SearchHdrMasks(masks, Grid({"Adó;Adó;Adó"}, true))), (std::vector<int>{2, 1, 0}));
  // ... and more matching masks always come last.
  EXPECT_EQ(Cols(SearchHdrMasks(masks, Grid({"Adószám;Szám;Adó;x"}, true))),
            (std::vector<int>{2, 1, 0}));
  const std::vector<THdrMskSearchResult> counted =
      SearchHdrMasks(masks, Grid({"Szám;Adószám;Adó"}, true));
  EXPECT_EQ(Cols(counted), (std::vector<int>{0, 2, 1}));
  EXPECT_EQ(counted.back().MatchCount, 2);

  // Tax numbers under headers in columns 2 and 5, one mask each: column 5 is chosen.
  const TPreviewGrid grid =
      Grid({"x;Adószám;y;z;Partner adószáma;w", "a;12345678;b;c;87654321;d"}, true);
  EXPECT_EQ(AssignColumns(grid, DefaultMasks(), true).Columns.Item[dcAdoszam], 5);

  TUsedCols used;
  used.Add(4);
  EXPECT_EQ(PickHdrCol({"ADÓSZÁM"}, grid, used), 2);
  EXPECT_EQ(PickHdrCol({"ADÓSZÁM"}, grid, used), 0);
  EXPECT_EQ(used.Text(), "-0004--0001-");
}

// Six columns in the file's order: tax number, name, date, invoice number, net, VAT.
QStringList NoHeaderRows(const QString& lastNet, const QString& lastVat) {
  return {"12345678;ACME Kft;2020.01.15;S-2020/1;1.000,00;270,00",
          "12345678-1-23;Béta Bt.;2020.01.16;S-2020/2;2 500,00;675,00",
          "87654321;Gamma Zrt;2020.01.17;S-2020/3;" + lastNet + ";" + lastVat};
}

TEST(ColumnAssignment, WithoutHeaderByContent) {
  const TAssignment a = AssignColumns(Grid(NoHeaderRows("1000", "270"), false), {}, false);
  EXPECT_EQ(Items(a), (std::array<int, 6>{1, 2, 3, 4, 5, 6}));
  EXPECT_TRUE(a.Complete());
  EXPECT_EQ(a.DateFormat, QString("yyyy.mm.dd"));
  EXPECT_EQ(a.DecSepIndex, 0);

  // 600 is not below 500 and 1000 is not below 300: neither amount is assigned.
  const TAssignment b = AssignColumns(Grid(NoHeaderRows("1000", "600"), false), {}, false);
  EXPECT_EQ(b.Columns.Item[dcAFAAlap], 0);
  EXPECT_EQ(b.Columns.Item[dcAFA], 0);
  EXPECT_FALSE(b.DecSepIndex);
  EXPECT_FALSE(b.Complete());

  // The VAT column standing first, and the net amount as the file's first column.
  const TAssignment c = AssignColumns(Grid({"1000;12345678;ACME Kft;2020.01.15;S-12;270",
                                            "500;12345678;ACME Kft;2020.01.15;S-13;135"},
                                           false),
                                      {}, false);
  EXPECT_EQ(Items(c), (std::array<int, 6>{2, 3, 4, 5, 1, 6}));
  const TAssignment d =
      AssignColumns(Grid({"270;12345678;ACME Kft;2020.01.15;S-1;1000"}, false), {}, false);
  EXPECT_EQ(d.Columns.Item[dcAFAAlap], 6);
  EXPECT_EQ(d.Columns.Item[dcAFA], 1);
}

TEST(ColumnAssignment, WithoutHeaderPitfalls) {
  // Purely numeric invoice numbers before the amounts are taken as an amount column.
  const TAssignment a = AssignColumns(Grid({"12345678;ACME Kft;2020.01.15;100231;1000,00;270,00",
                                            "12345678;ACME Kft;2020.01.15;100232;1000,00;270,00"},
                                           false),
                                      {}, false);
  EXPECT_EQ(a.Columns.Item[dcAFAAlap], 4);
  EXPECT_EQ(a.Columns.Item[dcAFA], 5);

  // Empty columns: average digit ratio -1, no company-form hit.
  const TPreviewGrid empty =
      Grid({"12345678;;2020.01.15;;1000;270", "12345678;;2020.01.16;;500;100"}, false);
  const TAssignment b = AssignColumns(empty, {}, false);
  EXPECT_EQ(b.Columns.Item[dcMegnevezes], 0);
  EXPECT_EQ(b.Columns.Item[dcBizSzam], 0);
}

TEST(ColumnAssignment, ContentSearchBounds) {
  // Company forms on at least half the rows (2 x hits >= rows), few digits.
  EXPECT_EQ(
      FindMegnevezesCol(Grid({"Kovács;ACME KFT", "x;Nagy", "y;Béta Bt", "z;Kiss"}, false), {}), 1);
  EXPECT_EQ(FindMegnevezesCol(Grid({"ACME Kft", "Nagy", "Kiss", "Szabó"}, false), {}), -1);
  EXPECT_EQ(FindMegnevezesCol(Grid({"12345 Kft"}, false), {}), -1);
  EXPECT_EQ(FindMegnevezesCol(Grid({"Korlátolt Felelősségű"}, false), {}), 0);

  // Invoice numbers: 0.5 and 0.98 included, as computed in single precision.
  EXPECT_EQ(FindBizSzamCol(Grid({"A1"}, false), {}), 0);
  EXPECT_EQ(FindBizSzamCol(Grid({"AB1"}, false), {}), -1);
  EXPECT_EQ(FindBizSzamCol(Grid({"2020"}, false), {}), -1);
  // 49 digits of 50: 0.98 in single precision is 0.98000002, above the bound.
  EXPECT_EQ(FindBizSzamCol(Grid({QString(49, u'1') + "A"}, false), {}), -1);
  // An empty cell counts -1: (1 + 1 - 1) / 3 = 0.33.
  EXPECT_EQ(FindBizSzamCol(Grid({"1", "2", ""}, false), {}), -1);
  EXPECT_EQ(FindBizSzamCol(Grid({"1", "2", "3", ""}, false), {}), 0);

  // Only row 0 must look like an amount; the rows after it may use an exponent.
  const TOsszegColFound e = FindOsszegCol(Grid({"1.000,5", "1E5", "2 000"}, false), {});
  EXPECT_EQ(e.Col, 0);
  EXPECT_EQ(e.DecSep, u',');
  EXPECT_DOUBLE_EQ(e.LastValue, 2000);
  EXPECT_EQ(FindOsszegCol(Grid({"1E5", "1"}, false), {}).Col, -1);
  EXPECT_EQ(FindOsszegCol(Grid({"1", ""}, false), {}).Col, -1);
  EXPECT_EQ(FindOsszegCol(Grid({"1", "1 Ft"}, false), {}).Col, -1);

  EXPECT_EQ(PlatformTextToFloat("-1,5e-3", u','), -0.0015);
  EXPECT_EQ(PlatformTextToFloat("+2", u','), 2);
  EXPECT_FALSE(PlatformTextToFloat("1,5,0", u','));
  EXPECT_FALSE(PlatformTextToFloat("1e", u','));
  EXPECT_FALSE(PlatformTextToFloat(",", u','));
  EXPECT_FALSE(PlatformTextToFloat("1e999", u','));

  // Tax numbers: every row trimmed; dates: every row under the format of row 0.
  EXPECT_EQ(FindAdoszamCol(Grid({"x; 12345678 ", "y;12345678-1-23"}, false), {}), 1);
  EXPECT_EQ(FindAdoszamCol(Grid({"12345678", "HU12345678"}, false), {}), -1);
  const TDatumColFound datum =
      FindDatumCol(Grid({"15.03.2020;2020.03.15", "2020.13.01;2020.03.16"}, false), {});
  EXPECT_EQ(datum.Col, 1);
  EXPECT_EQ(datum.Format, "yyyy.mm.dd");
  TUsedCols used;
  used.Add(1);
  EXPECT_EQ(FindDatumCol(Grid({"2020.03.15;2020.03.15"}, false), used).Col, 0);
}

TEST(ColumnAssignment, IdentificationFailureMessage) {
  const TIdentificationCaptions captions{"Input Fájl szerkezete",
                                         "Első sor Fejrovat",
                                         "Mező elválasztó karakter:",
                                         "Input File szerkezetének ellenőrzése",
                                         "Input Fájl adatai",
                                         "Formátum",
                                         "Input File adatainak ellenőrzése"};
  EXPECT_EQ(IdentificationFailureMessage(captions),
            "Nem sikerült beazonosítani a szükséges adatokat az input fájlban\n"
            "\n"
            "Kérem Ellenőrizze először a fájl szerkezetének jellemzőit a(z) \"Input Fájl "
            "szerkezete\" panelon:\n"
            "A(z) \"Első sor Fejrovat\" és \"Mező elválasztó karakter:\" beállítások rendben "
            "vannak?\n"
            "Ha nem, akkor korrigálja őket, majd nyomja meg a(z) \"Input File szerkezetének "
            "ellenőrzése\" gombot\n"
            "\n"
            "Ha ott nem látni problémát, akkor kérem állítsa be manuálisan az "
            "adat-összerendeléseket az \"Input Fájl adatai\" panelon\n"
            "Szükség esetén töltse ki ill. korrigálja a(z) \"Formátum\" oszlop adatait is, \n"
            "majd nyomja meg a(z) \"Input File adatainak ellenőrzése\" gombot");
}

}  // namespace
}  // namespace krinu
