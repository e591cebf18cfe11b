// krinu-cli on returns that its checks pass but that would be plainly wrong: one warning
// line on standard error, and --strict refusing; a file without such findings runs as ever.

#include <QFileInfo>

#include "cli/convert_fixture.h"

namespace krinu::cli {
namespace {

const QString kWarning = QStringLiteral("krinu-cli: figyelmeztetés: ");

// Ten November invoices, one of them a credit note.
QByteArray November(bool allNegative = false) {
  QByteArray text =
      "Partner adószáma;Partner neve;Számla sorszáma;Teljesítés dátuma;Nettó összeg;ÁFA összeg\r\n";
  for (int i = 0; i < 10; ++i)
    text += "11111111-2-41;Egy Kft;A/" + QByteArray::number(i) + ";2024.11.04;" +
            (allNegative || i == 9 ? "-" : "") + "1.000,00;" + (allNegative || i == 9 ? "-" : "") +
            "270,00\r\n";
  return text;
}

TEST_F(ConvertTest, AReturnWithNothingInItsPeriodWarnsAndStrictRefusesIt) {
  test::WriteFile(Path("nov.csv"), November());
  const QStringList october{"--from", "2024-10-01", "--to", "2024-10-31"};
  const QStringList november{"--from", "2024-11-01", "--to", "2024-11-30"};
  ASSERT_EQ(Run({"taxpayer", "list"}).Status, kOk);  // the database made before the runs

  CliRun plain = Run(QStringList{"convert", Path("nov.csv"), "--out", "a.xml"} + november);
  ASSERT_EQ(plain.Status, kOk) << plain.Err.toStdString();
  EXPECT_FALSE(plain.Err.contains(kWarning));
  // With nothing to warn of, --strict changes nothing.
  CliRun strict =
      Run(QStringList{"convert", Path("nov.csv"), "--out", "b.xml", "--strict"} + november);
  EXPECT_EQ(strict.Status, kOk);
  EXPECT_EQ(strict.Err, plain.Err);
  EXPECT_EQ(strict.Out,
            QString(plain.Out).replace(QStringLiteral("a.xml"), QStringLiteral("b.xml")));
  EXPECT_EQ(test::ReadFile(Path("b.xml")), test::ReadFile(Path("a.xml")));

  const QString line = kWarning + QStringLiteral(
                                      "A kijelölt időszakba egyetlen tétel sem esik (9 tételből 9 "
                                      "kívül esik).\n");
  CliRun outside = Run(QStringList{"convert", Path("nov.csv"), "--out", "c.xml"} + october);
  EXPECT_EQ(outside.Status, kOk);
  EXPECT_EQ(outside.Err, plain.Err + line);
  EXPECT_TRUE(QFileInfo::exists(Path("c.xml")));

  CliRun refused =
      Run(QStringList{"convert", Path("nov.csv"), "--out", "d.xml", "--strict", "--log", "d.log"} +
          october);
  EXPECT_EQ(refused.Status, kRefusedByWarning);
  EXPECT_TRUE(refused.Err.endsWith(line)) << refused.Err.toStdString();
  EXPECT_EQ(refused.Err.count(kWarning), 1);
  EXPECT_FALSE(QFileInfo::exists(Path("d.xml")));
  const QByteArray log = test::ReadFile(Path("d.log"));
  EXPECT_TRUE(log.contains("!!! 9 tételből 9 tétel kívül esik a kijelölt időszakon !!!\n"));
  EXPECT_TRUE(log.endsWith("Az XML nyomtatvány készítése megszakítva\n")) << log.toStdString();

  // No line included at all (every one a credit note) is as wrong.
  test::WriteFile(Path("neg.csv"), November(true));
  CliRun none =
      Run(QStringList{"convert", Path("neg.csv"), "--out", "e.xml", "--strict"} + november);
  EXPECT_EQ(none.Status, kRefusedByWarning);
  EXPECT_TRUE(none.Err.endsWith(
      kWarning + QStringLiteral("A kijelölt időszakba egyetlen tétel sem esik (0 tételből 0 "
                                "kívül esik).\n")));

  const CliRun help = Run({"convert", "--help"});
  EXPECT_TRUE(help.Out.contains(QStringLiteral("--strict"))) << help.Out.toStdString();
  EXPECT_TRUE(help.Out.simplified().contains(QStringLiteral("3-as kilépési kóddal")))
      << help.Out.toStdString();
}

TEST_F(ConvertTest, LinesInAForeignCurrencyAreCountedAskedAboutAndRefusedWhenStrict) {
  ASSERT_EQ(Run({"taxpayer", "list"}).Status, kOk);
  QByteArray text =
      "Partner adószáma;Partner neve;Számla sorszáma;Teljesítés dátuma;Nettó összeg;ÁFA összeg;"
      "Pénznem\r\n";
  for (int i = 0; i < 12; ++i)
    text += "10773381-2-44;Egy Kft;A/" + QByteArray::number(i) + ";2024.11.04;1.000,00;270,00;" +
            (i == 3 || i >= 9 ? "EUR"
             : i == 5         ? "USD"
             : i % 2          ? "HUF"
                              : "") +
            "\r\n";
  test::WriteFile(Path("eur.csv"), text);
  const QStringList november{"--from", "2024-11-01", "--to", "2024-11-30"};
  // Record numbers count the header: the fourth invoice is record 5.
  const QString line = kWarning + QStringLiteral(
                                      "5 sor nem forintban: EUR 4, USD 1 (az első adatsorok: 5, "
                                      "7, 11, 12, 13).\n");
  CliRun plain = Run(QStringList{"convert", Path("eur.csv"), "--out", "a.xml"} + november);
  EXPECT_EQ(plain.Status, kOk);
  EXPECT_TRUE(plain.Err.endsWith(line)) << plain.Err.toStdString();
  EXPECT_EQ(plain.Err.count(kWarning), 1);
  EXPECT_TRUE(QFileInfo::exists(Path("a.xml")));
  // Nothing is converted: the amounts are written as they stand.
  CliRun strict =
      Run(QStringList{"convert", Path("eur.csv"), "--out", "b.xml", "--strict"} + november);
  EXPECT_EQ(strict.Status, kRefusedByWarning);
  EXPECT_TRUE(strict.Err.endsWith(line));
  EXPECT_FALSE(QFileInfo::exists(Path("b.xml")));
  const CliRun load = Run({"load", Path("eur.csv")});
  EXPECT_EQ(load.Status, kOk);
  EXPECT_TRUE(load.Err.endsWith(line));

  // Forints only, however written: no warning.
  text.replace("EUR", "Ft").replace("USD", "huf");
  test::WriteFile(Path("huf.csv"), text);
  const CliRun forint =
      Run(QStringList{"convert", Path("huf.csv"), "--out", "c.xml", "--strict"} + november);
  EXPECT_EQ(forint.Status, kOk);
  EXPECT_FALSE(forint.Err.contains(kWarning)) << forint.Err.toStdString();
}

}  // namespace
}  // namespace krinu::cli
