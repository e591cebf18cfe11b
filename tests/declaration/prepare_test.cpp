#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <algorithm>

#include "declaration/declaration_run.h"
#include "declaration_test_util.h"
#include "support/test_env.h"

namespace krinu {
namespace {

using test::Line;

const QString kA = QStringLiteral("12345678-1-23");
const QString kB = QStringLiteral("22222222-2-22");

TPrepareOptions Options(bool bizSum, bool dropZero = false) {
  TPrepareOptions options;
  options.BizSum = bizSum;
  options.DropZero = dropZero;
  options.PeriodStart = QDate(2024, 1, 1);
  options.PeriodEnd = QDate(2024, 3, 31);
  options.Locale = QLocale(QLocale::Hungarian, QLocale::Hungary);
  return options;
}

bool Same(const TAFAAdat& a, const TAFAAdat& b) {
  return a.Adoszam == b.Adoszam && a.Megnevezes == b.Megnevezes && a.Datum == b.Datum &&
         a.BizSzam == b.BizSzam && a.AFAAlap == b.AFAAlap && a.AFA == b.AFA &&
         a.Status == b.Status && a.Enabled == b.Enabled;
}

TEST(PrepareDeclarationLines, CombinesOneInvoiceOnlyAndReportsIt) {
  const QDate d(2024, 3, 5);
  TAFAAdatList list{Line(kA, "Első Kft.", d, "A1", 10000.7, 2700.2),
                    Line(kA, "Második Kft.", d, "A1", 5000.9, 1350.5),
                    Line(kA, "Első Kft.", d, "a1", 100, 27),              // other case
                    Line(kA, "Első Kft.", d.addDays(1), "A1", 100, 27),   // other date
                    Line(kB, "Béta", QDate(2024, 4, 1), "X", 500, 135)};  // a day after
  const TPrepareResult result = PrepareDeclarationLines(list, Options(true));
  EXPECT_EQ(result.Log, (QStringList{
                            "",
                            "Bizonylatok össszesítése",
                            "1 esetben történt bizonylat összesítés",
                            "",
                            "1. Bizonylat összesítés:",
                            "Adószám: 12345678-1-23, BizonylatSzám: A1, Dátum: 2024. 03. 05.",
                            "Tételek:",
                            "  001: ÁfaAlap:        10000, Áfa:         2700   / Név: Első Kft.",
                            "  002: ÁfaAlap:         5000, Áfa:         1350   / Név: Második Kft.",
                            "Összesítve:",
                            "       ÁfaAlap:        15001, Áfa:         4050   / Név: Első Kft.",
                            "",
                            "!!! 4 tételből 1 tétel kívül esik a kijelölt időszakon !!!",
                        }));
  EXPECT_EQ(result.Counts.Combinations, 1);
  EXPECT_EQ(result.Counts.IncludedLines, 4);
  EXPECT_EQ(result.Counts.OutsidePeriod, 1);
  EXPECT_EQ(result.PartnerList, (QStringList{kA, kB}));

  // the combined line stands after the partner's other lines and carries the first name
  ASSERT_EQ(list.size(), 6u);
  EXPECT_EQ(list[0].Status, TAFAAdatStatus::stAFAPair);
  EXPECT_FALSE(list[0].Enabled);
  EXPECT_EQ(list[1].Status, TAFAAdatStatus::stAFAPair);
  EXPECT_FALSE(list[1].Enabled);
  EXPECT_TRUE(list[2].Enabled && list[3].Enabled && list[5].Enabled);
  EXPECT_EQ(list[2].BizSzam, QStringLiteral("a1"));
  const TAFAAdat& sum = list[4];
  EXPECT_EQ(sum.Status, TAFAAdatStatus::stAFAComp);
  EXPECT_TRUE(sum.Enabled);
  EXPECT_EQ(sum.Megnevezes, QStringLiteral("Első Kft."));
  EXPECT_DOUBLE_EQ(sum.AFAAlap, 10000.7 + 5000.9);
  EXPECT_DOUBLE_EQ(sum.AFA, 2700.2 + 1350.5);
  EXPECT_EQ(list[5].Adoszam, kB);
  // the line outside the period is still written on its partner's sheet
  const QByteArray document = BuildDeclarationDocument(
      test::Taxpayer(), test::Administrator(), test::Params(2024), list, result.PartnerList);
  EXPECT_TRUE(document.contains("<mezo eazon=\"0B0001C0001BA\">20240401</mezo>"));

  // a second run combines nothing, excludes nothing new and includes the same lines
  const TAFAAdatList after = list;
  const TPrepareResult again = PrepareDeclarationLines(list, Options(true));
  EXPECT_EQ(again.Log,
            (QStringList{"", "Bizonylatok össszesítése", "0 esetben történt bizonylat összesítés",
                         "", "!!! 4 tételből 1 tétel kívül esik a kijelölt időszakon !!!"}));
  EXPECT_EQ(again.PartnerList, result.PartnerList);
  ASSERT_EQ(list.size(), after.size());
  for (std::size_t i = 0; i < list.size(); ++i) EXPECT_TRUE(Same(list[i], after[i])) << i;
}

TEST(PrepareDeclarationLines, NegativeCheckSeesTheCombinedTotal) {
  const QDate d(2024, 3, 5);
  const TAFAAdatList loaded{Line(kA, "Első Kft.", d, "A1", 10000, 2700),
                            Line(kA, "Első Kft.", d, "A1", -2000, -540)};
  TAFAAdatList list = loaded;
  TPrepareResult result = PrepareDeclarationLines(list, Options(true));
  EXPECT_EQ(result.Counts.NegativeLines, 0);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_TRUE(list[2].Enabled);
  EXPECT_EQ(list[2].AFAAlap, 8000);
  EXPECT_EQ(result.Log.last(),
            QStringLiteral("       ÁfaAlap:         8000, Áfa:         2160   / Név: Első Kft."));

  list = loaded;
  result = PrepareDeclarationLines(list, Options(false));
  EXPECT_EQ(result.Log,
            (QStringList{
                "",
                "Bizonylat összesítés kihagyva",
                "",
                "!!! Negatív összeggel rendelkező tételt találtam, ezek nem kerülnek be a "
                "bevallásba:",
                "  ÁfaAlap:        -2000, Áfa:         -540,  Adószám: 12345678-1-23, "
                "BizonylatSzám: A1, Dátum: 2024. 03. 05., Név: Első Kft.",
                "Vizsgálja meg a fenti tételt és kezelje azt manuálisan",
                "A program az M lap \"Korrekciós\" oldalát nem kezeli, nem tölti",
            }));
  EXPECT_TRUE(list[0].Enabled);
  EXPECT_FALSE(list[1].Enabled);
  EXPECT_EQ(result.PartnerList, QStringList{kA});

  // a negative VAT alone is enough; two lines take the plural text
  list = loaded;
  list.push_back(Line(kB, "Béta", d, "B", 100, -1));
  result = PrepareDeclarationLines(list, Options(false));
  EXPECT_EQ(result.Counts.NegativeLines, 2);
  EXPECT_EQ(result.Log[result.Log.size() - 2],
            QStringLiteral("Vizsgálja meg a fenti tételeket és kezelje azokat manuálisan"));
  EXPECT_EQ(result.PartnerList, QStringList{kA});
}

TEST(PrepareDeclarationLines, BelowOneForintIsNeitherNegativeNorKeptAsZero) {
  const QDate d(2024, 3, 5);
  const TAFAAdatList loaded{Line(kA, "Mínusz", d, "A", -0.99, 5),
                            Line(kA, "Nulla", d, "B", 0.99, -0.4), Line(kB, "Üres", d, "C", 0, 0)};
  TAFAAdatList list = loaded;
  TPrepareResult result = PrepareDeclarationLines(list, Options(false));
  EXPECT_EQ(result.Log, (QStringList{"", "Bizonylat összesítés kihagyva"}));
  EXPECT_EQ(result.Counts.IncludedLines, 3);  // no minimum amount without the zero check
  EXPECT_EQ(result.PartnerList, (QStringList{kA, kB}));

  list = loaded;
  result = PrepareDeclarationLines(list, Options(false, true));
  EXPECT_EQ(result.Log, (QStringList{
                            "",
                            "Bizonylat összesítés kihagyva",
                            "",
                            "'0'-s tételek kihagyása:",
                            "  Adószám: 12345678-1-23, BizonylatSzám: B, Dátum: 2024. 03. 05., "
                            "Név: Nulla",
                            "  Adószám: 22222222-2-22, BizonylatSzám: C, Dátum: 2024. 03. 05., "
                            "Név: Üres",
                        }));
  EXPECT_TRUE(list[0].Enabled);
  EXPECT_FALSE(list[1].Enabled);
  EXPECT_FALSE(list[2].Enabled);
  EXPECT_EQ(result.PartnerList, QStringList{kA});
}

TEST(PrepareDeclarationLines, ReversedPeriodCountsEveryLineOutside) {
  TAFAAdatList list{Line(kA, "A", QDate(2024, 2, 1), "1", 1000, 270),
                    Line(kB, "B", DateTimeZero(), "2", 1000, 270)};
  TPrepareOptions options = Options(false);
  std::swap(options.PeriodStart, options.PeriodEnd);
  const TPrepareResult result = PrepareDeclarationLines(list, options);
  EXPECT_EQ(result.Log.last(),
            QStringLiteral("!!! 2 tételből 2 tétel kívül esik a kijelölt időszakon !!!"));
  EXPECT_TRUE(list[0].Enabled && list[1].Enabled);
}

// The combination as a scan of the whole list for every line: the behaviour the hash index
// must reproduce exactly.
QStringList ReferenceCombine(TAFAAdatList& list, const QLocale& locale) {
  const auto n12 = [](double v) { return QString::number(qint64(v)).rightJustified(12, u' '); };
  const std::size_t n = list.size();
  QStringList report;
  int groups = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (!list[i].Enabled || list[i].Status == TAFAAdatStatus::stAFAComp) continue;
    std::vector<std::size_t> members;
    for (std::size_t j = 0; j < list.size(); ++j) {
      const TAFAAdat& o = list[j];
      if (j != i && o.Enabled && o.Status != TAFAAdatStatus::stAFAComp &&
          o.Adoszam == list[i].Adoszam && o.Datum == list[i].Datum && o.BizSzam == list[i].BizSzam)
        members.push_back(j);
    }
    if (members.empty()) continue;
    ++groups;
    list[i].Status = TAFAAdatStatus::stAFAPair;
    list[i].Enabled = false;
    TAFAAdat c = list[i];
    c.Status = TAFAAdatStatus::stAFAComp;
    c.Enabled = true;
    report << "" << QString::number(groups) + ". Bizonylat összesítés:"
           << "Adószám: " + c.Adoszam + ", BizonylatSzám: " + c.BizSzam +
                  ", Dátum: " + locale.toString(c.Datum, QLocale::ShortFormat)
           << "Tételek:"
           << "  001: ÁfaAlap: " + n12(c.AFAAlap) + ", Áfa: " + n12(c.AFA) +
                  "   / Név: " + c.Megnevezes;
    int k = 1;
    for (std::size_t j : members) {
      list[j].Status = TAFAAdatStatus::stAFAPair;
      list[j].Enabled = false;
      c.AFAAlap += list[j].AFAAlap;
      c.AFA += list[j].AFA;
      report << "  " + QString::number(++k).rightJustified(3, u'0') +
                    ": ÁfaAlap: " + n12(list[j].AFAAlap) + ", Áfa: " + n12(list[j].AFA) +
                    "   / Név: " + list[j].Megnevezes;
    }
    report << "Összesítve:"
           << "       ÁfaAlap: " + n12(c.AFAAlap) + ", Áfa: " + n12(c.AFA) +
                  "   / Név: " + c.Megnevezes;
    list.push_back(c);
  }
  std::stable_sort(list.begin(), list.end(),
                   [](const TAFAAdat& a, const TAFAAdat& b) { return a.Adoszam < b.Adoszam; });
  report.prepend(QString::number(groups) + " esetben történt bizonylat összesítés");
  return report;
}

TEST(PrepareDeclarationLines, CombinationEqualsTheScanOfEveryPair) {
  QRandomGenerator random(20240305);
  const QStringList keys{"1", "12345678-1-23", "12345678 1 23", "2"};
  const QStringList numbers{"A", "a", "B", "A "};
  for (int round = 0; round < 300; ++round) {
    TAFAAdatList list;
    const int size = random.bounded(40);
    for (int i = 0; i < size; ++i) {
      TAFAAdat line =
          Line(keys[random.bounded(4)], QStringLiteral("N%1").arg(i),
               QDate(2024, 1, 1 + random.bounded(2)), numbers[random.bounded(4)],
               random.bounded(2000) - 100.5, random.bounded(500) - 10.25, random.bounded(8) != 0);
      if (random.bounded(10) == 0) line.Status = TAFAAdatStatus::stAFAComp;
      list.push_back(line);
    }
    std::stable_sort(list.begin(), list.end(),
                     [](const TAFAAdat& a, const TAFAAdat& b) { return a.Adoszam < b.Adoszam; });
    // With room behind the lines, as a load leaves it, the combined lines are merged in
    // place; without, the list grows.
    if (round % 2 == 0) list.reserve(list.size() * 2);
    TAFAAdatList expected = list;
    const QStringList report = ReferenceCombine(expected, Options(true).Locale);
    const TPrepareResult result = PrepareDeclarationLines(list, Options(true));
    ASSERT_GE(result.Log.size(), 3);
    EXPECT_EQ(result.Log.mid(2, report.size()), report) << round;
    ASSERT_EQ(list.size(), expected.size()) << round;
    for (std::size_t i = 0; i < list.size(); ++i) {
      // the later checks may have disabled lines; compare the combination's part
      TAFAAdat a = list[i], b = expected[i];
      a.Enabled = b.Enabled = false;
      EXPECT_TRUE(Same(a, b)) << round << " " << i;
    }
  }
}

TEST(SortByKey, StableInPlainCharacterOrder) {
  TAFAAdatList list;
  int n = 0;
  for (const char* key :
       {"123456781 23", "12345678-1-23", "12345678", "12345678 1 23", "12345678", "12345678-1-23"})
    list.push_back(Line(QString::fromLatin1(key), QString::number(n++), {}, "", 0, 0));
  SortByKey(list);
  QStringList order;
  for (const TAFAAdat& line : list) order << line.Adoszam + "/" + line.Megnevezes;
  EXPECT_EQ(order, (QStringList{"12345678/2", "12345678/4", "12345678 1 23/3", "12345678-1-23/1",
                                "12345678-1-23/5", "123456781 23/0"}));
}

TEST(PrepareDeclarationLines, AnUnsortedListIsSortedFirst) {
  const QDate d(2024, 3, 5);
  const TAFAAdatList unsorted{Line(kB, "B1", d, "X", 100, 27), Line(kA, "A1", d, "Y", 100, 27),
                              Line(kB, "B2", d, "X", 200, 54), Line(kA, "A2", d, "Y", 300, 81)};
  TAFAAdatList sorted = unsorted;
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const TAFAAdat& a, const TAFAAdat& b) { return a.Adoszam < b.Adoszam; });
  TAFAAdatList list = unsorted;
  const TPrepareResult fromUnsorted = PrepareDeclarationLines(list, Options(true));
  const TPrepareResult fromSorted = PrepareDeclarationLines(sorted, Options(true));
  EXPECT_EQ(fromUnsorted.Log, fromSorted.Log);
  EXPECT_EQ(fromUnsorted.PartnerList, (QStringList{kA, kB}));
  ASSERT_EQ(list.size(), sorted.size());
  for (std::size_t i = 0; i < list.size(); ++i) EXPECT_TRUE(Same(list[i], sorted[i])) << i;
}

TEST(PrepareDeclarationLines, LongNamesAreLoggedWhole) {
  const QString name = QString(300, u'Ő') + QStringLiteral(" Kft.");
  TAFAAdatList list{Line(kA, name, QDate(2024, 3, 5), "A", -10, 0)};
  const TPrepareResult result = PrepareDeclarationLines(list, Options(false));
  EXPECT_EQ(result.Log[4], QStringLiteral("  ÁfaAlap:          -10, Áfa:            0,  Adószám: "
                                          "12345678-1-23, BizonylatSzám: A, Dátum: 2024. 03. "
                                          "05., Név: ") +
                               name);
}

TEST(XmlFileNameFor, AppendsXmlWithoutADotAfterTheLastSlash) {
  EXPECT_EQ(XmlFileNameFor("bevallas"), QStringLiteral("bevallas.xml"));
  EXPECT_EQ(XmlFileNameFor("/tmp/bevallas.txt"), QStringLiteral("/tmp/bevallas.txt"));
  EXPECT_EQ(XmlFileNameFor("/tmp/my.dir/bevallas"), QStringLiteral("/tmp/my.dir/bevallas.xml"));
  EXPECT_EQ(XmlFileNameFor("/tmp/bevallas."), QStringLiteral("/tmp/bevallas."));
  EXPECT_EQ(XmlFileNameFor("/tmp/.rejtett"), QStringLiteral("/tmp/.rejtett"));
}

}  // namespace
}  // namespace krinu
