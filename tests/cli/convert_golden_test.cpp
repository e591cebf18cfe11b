// The bundled example converted end to end and compared byte for byte with the references
// in tests/data: the XML, the run log and the skipped rows, for a return of each field
// layout (2024, 2025, 2020).

#include "cli/convert_fixture.h"
#include "support/golden.h"

namespace krinu::cli {
namespace {

class ConvertGoldenTest : public ConvertTest {
 protected:
  // Converts the example with the options and compares its three outputs.
  void ExpectGolden(const QString& name, const QStringList& options) {
    const QString xml = name + QStringLiteral(".xml");
    const QString log = name + QStringLiteral(".log");
    const CliRun r =
        Convert(QStringList{QStringLiteral("--out"), xml, QStringLiteral("--log"), log,
                            QStringLiteral("--skipped"), QStringLiteral("kihagyott.txt")} +
                options);
    ASSERT_EQ(r.Status, kOk) << r.Err.toStdString();
    EXPECT_MATCHES_GOLDEN(xml, Read(xml));
    EXPECT_MATCHES_GOLDEN(log, Read(log));
    // The same file every time: the load does not depend on the run's options.
    EXPECT_MATCHES_GOLDEN(QStringLiteral("szamlak-kihagyott.txt"),
                          Read(QStringLiteral("kihagyott.txt")));
    EXPECT_EQ(XmlLint(Path(xml)), QString());
    EXPECT_TRUE(
        r.Out.endsWith(QStringLiteral("Betöltött adatsorok: 293\nKihagyott adatsorok: 4\n")))
        << r.Out.toStdString();
    EXPECT_TRUE(
        r.Err.contains(QStringLiteral("warning: Részben sikeres Input Fájl betöltés, \n"
                                      "293 adatsor került betöltésre\n"
                                      "004 adatsort nem sikerült betölteni\n")))
        << r.Err.toStdString();
  }
};

// The month the example was exported for, with the window's default options.
TEST_F(ConvertGoldenTest, November2024) {
  ExpectGolden(QStringLiteral("szamlak-2024-11"),
               {QStringLiteral("--from"), QStringLiteral("2024-11-01"), QStringLiteral("--to"),
                QStringLiteral("2024-11-30")});
}

// The 2025 layout, amounts in forints, a taxpayer and an administrator whose names need
// escaping or keep an apostrophe, zero lines left out. Every line lies outside the period.
TEST_F(ConvertGoldenTest, January2025DroppingZeroLines) {
  ASSERT_EQ(Run({QStringLiteral("taxpayer"), QStringLiteral("add"), QStringLiteral("--tax-number"),
                 QStringLiteral("12345676241"), QStringLiteral("--name"),
                 QStringLiteral("Kis & Nagy \"Kettő\" Bt"), QStringLiteral("--bank"),
                 QStringLiteral("K&H Bank"), QStringLiteral("--account"),
                 QStringLiteral("1040000500000000")})
                .Status,
            kOk);
  ASSERT_EQ(Run({QStringLiteral("admin"), QStringLiteral("add"), QStringLiteral("--name"),
                 QStringLiteral("D'Artagnan Éva"), QStringLiteral("--phone"),
                 QStringLiteral("06-30-123-4567")})
                .Status,
            kOk);
  ExpectGolden(
      QStringLiteral("szamlak-2025-01"),
      {QStringLiteral("--from"), QStringLiteral("2025-01-01"), QStringLiteral("--to"),
       QStringLiteral("2025-01-31"), QStringLiteral("--taxpayer"), QStringLiteral("12345676241"),
       QStringLiteral("--admin"), QStringLiteral("2"), QStringLiteral("--drop-zero"),
       QStringLiteral("--form-version"), QStringLiteral("2.0")});
}

// The oldest layouts: general part codes up to 2020 and the names on every page header;
// invoice lines not combined.
TEST_F(ConvertGoldenTest, November2020WithoutCombining) {
  ExpectGolden(QStringLiteral("szamlak-2020-11"),
               {QStringLiteral("--from"), QStringLiteral("2020-11-01"), QStringLiteral("--to"),
                QStringLiteral("2020-11-30"), QStringLiteral("--no-combine")});
}

}  // namespace
}  // namespace krinu::cli
