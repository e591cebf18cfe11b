// Import profiles from the command line: saved by a load with corrections, applied only
// when asked, refused where they do not fit.

#include "cli/convert_fixture.h"

namespace krinu::cli {
namespace {

TEST_F(ConvertTest, AProfileSavedOnceConvertsTheNextMonthAsTheSameCorrectionsByHand) {
  test::WriteFile(Path(QStringLiteral("okt.csv")), test::UndecidableDateExport(2024, 10));
  test::WriteFile(Path(QStringLiteral("nov.csv")), test::UndecidableDateExport(2024, 11));
  const QStringList byHand{QStringLiteral("--columns"), QStringLiteral("1,2,3,4,5,6"),
                           QStringLiteral("--date-format"), QStringLiteral("mm/dd/yyyy")};
  const QStringList period{QStringLiteral("--from"), QStringLiteral("2024-11-01"),
                           QStringLiteral("--to"), QStringLiteral("2024-11-30")};
  const CliRun saved = Run(QStringList{QStringLiteral("load"), QStringLiteral("okt.csv")} + byHand +
                           QStringList{QStringLiteral("--save-profile"), QStringLiteral("Havi")});
  ASSERT_EQ(saved.Status, kOk) << saved.Err.toStdString();
  EXPECT_TRUE(saved.Err.contains(
      QStringLiteral("krinu-cli: Beállítások megjegyezve ehhez a fájlformátumhoz\n")));

  // Without --profile nothing of it is applied: the date format is still undecided.
  const CliRun plain = Run(QStringList{QStringLiteral("convert"), QStringLiteral("nov.csv"),
                                       QStringLiteral("--out"), QStringLiteral("plain.xml")} +
                           period);
  EXPECT_EQ(plain.Status, kFailed);
  EXPECT_FALSE(plain.Err.contains(QStringLiteral("Mentett beállítás")));
  EXPECT_FALSE(QFile::exists(Path(QStringLiteral("plain.xml"))));

  const CliRun hand = Run(QStringList{QStringLiteral("convert"), QStringLiteral("nov.csv"),
                                      QStringLiteral("--out"), QStringLiteral("hand.xml")} +
                          period + byHand);
  ASSERT_EQ(hand.Status, kOk) << hand.Err.toStdString();
  for (const QString& profile : {QStringLiteral("auto"), QStringLiteral("Havi")}) {
    const CliRun r = Run(QStringList{QStringLiteral("convert"), QStringLiteral("nov.csv"),
                                     QStringLiteral("--out"), profile + QStringLiteral(".xml"),
                                     QStringLiteral("--profile"), profile} +
                         period);
    ASSERT_EQ(r.Status, kOk) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.contains(QStringLiteral("krinu-cli: Mentett beállítás alkalmazva: Havi (")));
    EXPECT_EQ(Read(profile + QStringLiteral(".xml")), Read(QStringLiteral("hand.xml")));
  }

  // Another layout (another separator) is refused by name and passed over by auto.
  test::WriteFile(Path(QStringLiteral("vesszo.csv")), test::UndecidableDateExport(2024, 11, ","));
  const CliRun refused = Run({QStringLiteral("load"), QStringLiteral("vesszo.csv"),
                              QStringLiteral("--profile"), QStringLiteral("Havi")});
  EXPECT_EQ(refused.Status, kFailed);
  EXPECT_TRUE(refused.Err.contains(
      QStringLiteral("krinu-cli: A(z) „Havi” mentett beállítás nem ehhez a fájlformátumhoz "
                     "készült, ezért nem alkalmazható.")))
      << refused.Err.toStdString();
  EXPECT_EQ(Run({QStringLiteral("load"), QStringLiteral("vesszo.csv"), QStringLiteral("--profile"),
                 QStringLiteral("Nincs")})
                .Status,
            kFailed);
  const CliRun none = Run({QStringLiteral("load"), QStringLiteral("vesszo.csv"),
                           QStringLiteral("--profile"), QStringLiteral("auto")});
  EXPECT_FALSE(none.Err.contains(QStringLiteral("Mentett beállítás alkalmazva")));

  const CliRun list = Run({QStringLiteral("profile"), QStringLiteral("list")});
  EXPECT_TRUE(list.Out.startsWith(QStringLiteral("Havi / UTF-8, ';', fejrovat, 6 mező / ")))
      << list.Out.toStdString();
  EXPECT_TRUE(Run({QStringLiteral("profile"), QStringLiteral("show"), QStringLiteral("Havi")})
                  .Out.contains(QStringLiteral("  Dátum formátum: mm/dd/yyyy\n")));
  EXPECT_EQ(
      Run({QStringLiteral("profile"), QStringLiteral("delete"), QStringLiteral("Havi")}).Status,
      kOk);
  EXPECT_TRUE(Run({QStringLiteral("profile"), QStringLiteral("list")}).Out.isEmpty());
  EXPECT_EQ(
      Run({QStringLiteral("profile"), QStringLiteral("delete"), QStringLiteral("Havi")}).Status,
      kFailed);
}

}  // namespace
}  // namespace krinu::cli
