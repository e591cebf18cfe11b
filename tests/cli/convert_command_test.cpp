// krinu-cli convert: exit statuses and the options that set the second tab's controls.
// Where the log and the summary go, with --log and without, the cases in tests/data pin.

#include <QFileInfo>

#include "cli/convert_fixture.h"

namespace krinu::cli {
namespace {

const QStringList kNovember = {QStringLiteral("--from"), QStringLiteral("2024-11-01"),
                               QStringLiteral("--to"), QStringLiteral("2024-11-30")};

TEST_F(ConvertTest, ExitStatuses) {
  const QStringList out = {QStringLiteral("--out"), QStringLiteral("a.xml")};
  CliRun r = Convert(out + kNovember);
  EXPECT_EQ(r.Status, kOk) << r.Err.toStdString();
  EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("a.xml"))));

  // Usage errors: nothing is loaded, nothing written.
  for (const QStringList& args :
       {QStringList{QStringLiteral("--from"), QStringLiteral("2024-13-01")},
        QStringList{QStringLiteral("--from"), QStringLiteral("2024-1-01")},
        QStringList{QStringLiteral("--to"), QStringLiteral("november")},
        QStringList{QStringLiteral("--columns"), QStringLiteral("1,2")},
        QStringList{QStringLiteral("--bogus")}, QStringList{QStringLiteral("second.csv")}}) {
    r = Convert(QStringList{QStringLiteral("--out"), QStringLiteral("u.xml")} + args);
    EXPECT_EQ(r.Status, kUsage) << args.join(u' ').toStdString();
    EXPECT_TRUE(r.Out.isEmpty());
  }
  EXPECT_EQ(Convert(kNovember).Status, kUsage);  // no --out
  EXPECT_EQ(Convert(QStringList{QStringLiteral("--out"), QString()}).Status, kUsage);
  EXPECT_EQ(
      Run({QStringLiteral("convert"), QStringLiteral("--out"), QStringLiteral("u.xml")}).Status,
      kUsage);  // no input
  EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("u.xml"))));

  // No load: a missing file, a file whose columns cannot be found.
  r = Run({QStringLiteral("convert"), Path(QStringLiteral("missing.csv")), QStringLiteral("--out"),
           QStringLiteral("n.xml")});
  EXPECT_EQ(r.Status, kFailed);
  test::WriteFile(Path(QStringLiteral("odd.csv")),
                  "a;b;c;d;e;f\nx;y;z;1;2;3\nx;y;z;4;5;6\nx;y;z;7;8;9\n");
  r = Run({QStringLiteral("convert"), Path(QStringLiteral("odd.csv")), QStringLiteral("--out"),
           QStringLiteral("n.xml")});
  EXPECT_EQ(r.Status, kFailed);
  EXPECT_TRUE(r.Err.contains(QStringLiteral("Nem sikerült beazonosítani a szükséges adatokat")));
  EXPECT_FALSE(r.Out.contains(QStringLiteral("Bizonylat")));  // the run did not start
  EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("n.xml"))));

  // Refused by the run's own checks, or a record that does not exist.
  r = Convert(out + kNovember + QStringList{QStringLiteral("--no-overwrite")});
  EXPECT_EQ(r.Status, kFailed);
  EXPECT_TRUE(r.Err.contains(QStringLiteral(
      "error: A kijelölt XML fájl már létezik és nem engedélyezett a felülírása\n")));
  EXPECT_TRUE(r.Out.isEmpty());  // no log line before the starting checks pass
  r = Convert(out + QStringList{QStringLiteral("--taxpayer"), QStringLiteral("99999999999")});
  EXPECT_EQ(r.Status, kFailed);
  EXPECT_TRUE(
      r.Err.contains(QStringLiteral("krinu-cli: nincs ilyen adószámú adózó: 99999999999\n")));
  for (const QString& id : {QStringLiteral("7"), QStringLiteral("x")}) {
    r = Convert(out + QStringList{QStringLiteral("--admin"), id});
    EXPECT_EQ(r.Status, kFailed);
    EXPECT_TRUE(r.Err.contains(QStringLiteral("krinu-cli: nincs ilyen azonosítójú ügyintéző: ") +
                               id + u'\n'));
  }

  // A file that cannot be written: the error names it, the log stops where writing began.
  test::WriteFile(Path(QStringLiteral("plain.txt")), "not a folder");
  r = Convert(QStringList{QStringLiteral("--out"), QStringLiteral("plain.txt/b.xml")} + kNovember);
  EXPECT_EQ(r.Status, kFailed);
  EXPECT_TRUE(r.Err.contains(QStringLiteral("error: ")));
  EXPECT_TRUE(r.Err.contains(QDir::toNativeSeparators(QStringLiteral("plain.txt/b.xml"))));
  EXPECT_TRUE(r.Out.endsWith(QStringLiteral("\nFájlba történő kiírás kezdődik\n")));
}

TEST_F(ConvertTest, ALogFileThatCannotBeWrittenFailsAfterTheXmlIsWritten) {
  const CliRun badLog =
      Convert(QStringList{QStringLiteral("--out"), QStringLiteral("c.xml")} + kNovember +
              QStringList{QStringLiteral("--log"), QStringLiteral("no/such/folder/c.log")});
  EXPECT_EQ(badLog.Status, kFailed);
  EXPECT_TRUE(badLog.Err.contains(QStringLiteral("no/such/folder/c.log")));
  EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("c.xml"))));
}

TEST_F(ConvertTest, DefaultsAreTheWindowsAfterStartUp) {
  // Today is 5 December 2024: the previous month; the first taxpayer and administrator;
  // an existing file is replaced without a question.
  test::WriteFile(Path(QStringLiteral("d.xml")), "old");
  const CliRun r = Convert({QStringLiteral("--out"), QStringLiteral("d.xml")});
  ASSERT_EQ(r.Status, kOk) << r.Err.toStdString();
  EXPECT_FALSE(r.Err.contains(QStringLiteral("confirmation")));
  const QString xml = QString::fromUtf8(Read(QStringLiteral("d.xml")));
  EXPECT_TRUE(xml.contains(QStringLiteral("<tol>20241101</tol>\r\n        <ig>20241130</ig>")));
  EXPECT_TRUE(xml.contains(QStringLiteral("<mezo eazon=\"0A0001E007A\">Minta Ügyintéző</mezo>")));
  EXPECT_TRUE(xml.contains(QStringLiteral("<nyomtatvanyverzio>1.0</nyomtatvanyverzio>")));
  EXPECT_TRUE(r.Out.contains(QStringLiteral("\nBizonylatok össszesítése\n")));
  EXPECT_EQ(XmlLint(Path(QStringLiteral("d.xml"))), QString());

  // --no-overwrite only matters when the file is there.
  EXPECT_EQ(
      Convert({QStringLiteral("--out"), QStringLiteral("e"), QStringLiteral("--no-overwrite")})
          .Status,
      kOk);
  EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("e.xml"))));  // ".xml" for the file
  EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("e"))));
}

TEST_F(ConvertTest, FormVersionIsEscapedOnEverySheetAndEmptyMeansOnePointZero) {
  ASSERT_EQ(Convert(QStringList{QStringLiteral("--out"), QStringLiteral("v.xml"),
                                QStringLiteral("--form-version"), QStringLiteral("A&B<2>")} +
                    kNovember)
                .Status,
            kOk);
  const QString xml = QString::fromUtf8(Read(QStringLiteral("v.xml")));
  EXPECT_EQ(xml.count(QStringLiteral("<nyomtatvanyverzio>A&amp;B&lt;2&gt;</nyomtatvanyverzio>")),
            xml.count(QStringLiteral("<nyomtatvany>")));
  EXPECT_EQ(XmlLint(Path(QStringLiteral("v.xml"))), QString());

  ASSERT_EQ(Convert(QStringList{QStringLiteral("--out"), QStringLiteral("w.xml"),
                                QStringLiteral("--form-version"), QString()} +
                    kNovember)
                .Status,
            kOk);
  EXPECT_TRUE(Read(QStringLiteral("w.xml")).contains("<nyomtatvanyverzio>1.0</nyomtatvanyverzio>"));
}

// One invoice on two lines (1400 forints each: 1 + 1 thousand apart, 3 together), a zero line and a
// line of another partner, under each pair of the combining and zero options.
TEST_F(ConvertTest, CombiningAndZeroOptions) {
  test::WriteFile(Path(QStringLiteral("small.csv")),
                  "Partner adószáma;Partner neve;Számla sorszáma;Teljesítés dátuma;"
                  "Nettó összeg;ÁFA összeg\r\n"
                  "11111111-2-41;Egy Kft;A/1;2024.11.04;1.400,00;378,00\r\n"
                  "11111111-2-41;Egy Kft;A/1;2024.11.04;1.400,00;378,00\r\n"
                  "11111111-2-41;Egy Kft;A/2;2024.11.05;0,00;0,00\r\n"
                  "22222222-2-42;Kettő Bt;B/1;2024.11.06;2.500,00;675,00\r\n");
  struct Case {
    QStringList Options;
    int Rows;         // rows of the first partner
    QString Total;    // its net total, in thousands of forints
    QString LogLine;  // a line the log must hold
  };
  const Case cases[] = {
      {{}, 2, QStringLiteral("3"), QStringLiteral("1 esetben történt bizonylat összesítés")},
      {{QStringLiteral("--no-combine")},
       3,
       QStringLiteral("2"),
       QStringLiteral("Bizonylat összesítés kihagyva")},
      {{QStringLiteral("--drop-zero")},
       1,
       QStringLiteral("3"),
       QStringLiteral("  Adószám: 11111111-2-41, BizonylatSzám: A/2, Dátum: 2024. 11. 05., "
                      "Név: Egy Kft")},
      {{QStringLiteral("--no-combine"), QStringLiteral("--drop-zero")},
       2,
       QStringLiteral("2"),
       QStringLiteral("'0'-s tételek kihagyása:")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Options.join(u' ').toStdString());
    const CliRun r = Run(QStringList{QStringLiteral("convert"), Path(QStringLiteral("small.csv")),
                                     QStringLiteral("--out"), QStringLiteral("s.xml")} +
                         kNovember + c.Options);
    ASSERT_EQ(r.Status, kOk) << r.Err.toStdString();
    EXPECT_TRUE(r.Out.split(u'\n').contains(c.LogLine)) << r.Out.toStdString();
    const QString xml = QString::fromUtf8(Read(QStringLiteral("s.xml")));
    const QString first = xml.section(QStringLiteral("<azonosito>11111111</azonosito>"), 1)
                              .section(QStringLiteral("</nyomtatvany>"), 0, 0);
    EXPECT_TRUE(first.contains(QStringLiteral("\"0A0001E0004BA\">%1<").arg(c.Rows)));
    EXPECT_TRUE(first.contains(QStringLiteral("\"0A0001E0004CA\">%1<").arg(c.Total)));
    EXPECT_EQ(xml.count(QStringLiteral("<nyomtatvany>")), 3);  // main sheet and two partners
    EXPECT_EQ(XmlLint(Path(QStringLiteral("s.xml"))), QString());
  }
}

}  // namespace
}  // namespace krinu::cli
