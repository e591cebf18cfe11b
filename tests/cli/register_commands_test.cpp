#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "cli/cli.h"

namespace krinu::cli {
namespace {

struct Result {
  int Status = -1;
  QString Out, Err;
};

class RegisterCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root.isValid());
    QDir().mkpath(root.filePath(QStringLiteral("bin")));
    Run({"taxpayer", "list"});  // creates the database, so later runs log nothing
  }
  Result Run(const QStringList& args) {
    Result r;
    QTextStream out(&r.Out), err(&r.Err);
    QStringList all{QStringLiteral("--data-dir"), root.filePath(QStringLiteral("data"))};
    all += args;
    r.Status = RunCli(all, root.filePath(QStringLiteral("bin/krinu-cli")), out, err);
    out.flush();
    err.flush();
    return r;
  }
  QTemporaryDir root;
};

TEST_F(RegisterCommands, TaxpayerAddUpdateDelete) {
  const QStringList add{"taxpayer",  "add",    "--tax-number", "12345678901", "--name",
                        "Teszt Kft", "--bank", "OTP",          "--account",   " 1177301612345678 "};
  Result r = Run(add);
  EXPECT_EQ(r.Status, kOk);
  // Stored, but every part of the number's arithmetic is wrong, and the warning says so.
  const QString wrong = QStringLiteral(
      "warning: Az adószám (12345678901) hibásnak tűnik: az ellenőrző számjegy (a 8.) nem "
      "egyezik, az áfakód (a 9. számjegy) nem 1–5, a megyekód (az utolsó két számjegy) nem "
      "létező.\nKérem, ellenőrizze; az adatok ettől még tárolásra kerülnek.\n");
  EXPECT_EQ(r.Err, wrong + QStringLiteral("information: Új adózó felvétele megtörtént\n"));
  r = Run(add);
  EXPECT_EQ(r.Status, kFailed);
  EXPECT_EQ(r.Err, QStringLiteral(
                       "error: Új adózó felvétele meghiúsult, már létezik az adott Adószám!\n"));
  r = Run({"taxpayer", "add", "--tax-number", "22222222222", "--name", "X", "--bank", "B",
           "--account", "12345678901234567"});
  EXPECT_EQ(r.Status, kFailed);
  EXPECT_EQ(r.Err, QStringLiteral("information: Formátum hiba: A 'Számlaszám' formátuma nem "
                                  "helyes: 16 vagy 24 számjegyből kell állnia\n"));

  // Update loads the taxpayer first, so options not given keep their values.
  r = Run({"taxpayer", "update", "--tax-number", "12345678901", "--name", "Új Név \"Kft\""});
  EXPECT_EQ(r.Status, kOk);
  EXPECT_EQ(r.Err, wrong + QStringLiteral("information: Módosítás végrehajtva\n"));
  r = Run({"taxpayer", "list"});
  // By name, bytewise: "Z" comes before "Ú".
  EXPECT_EQ(r.Out, QStringLiteral("19345678910 / Zuhanó Részvény Kft\n12345678901 / Új Név "
                                  "\"Kft\"\n"));

  r = Run({"taxpayer", "delete", "--tax-number", "12345678901"});
  EXPECT_EQ(r.Status, kFailed);
  EXPECT_EQ(r.Err, QStringLiteral("confirmation: Biztosan törölni akarja a 12345678901 "
                                  "adószámmal beazonosított Adózót?\n"));
  r = Run({"taxpayer", "delete", "--tax-number", "12345678901", "--yes"});
  EXPECT_EQ(r.Status, kOk);
  EXPECT_TRUE(r.Err.endsWith(QStringLiteral("\ninformation: Törlés végrehajtva\n")));
  EXPECT_EQ(Run({"taxpayer", "list"}).Out, QStringLiteral("19345678910 / Zuhanó Részvény Kft\n"));

  EXPECT_EQ(Run({"taxpayer", "add", "--name", "X"}).Status, kUsage);
  EXPECT_EQ(Run({"taxpayer", "delete", "--tax-number", "1", "--bank", "B"}).Status, kUsage);
}

TEST_F(RegisterCommands, AdminAddUpdateDelete) {
  Result r = Run({"admin", "add", "--name", "Kiss Anna", "--phone", "06 30 123 4567"});
  EXPECT_EQ(r.Status, kOk);
  EXPECT_EQ(r.Err, QStringLiteral("information: Új Ügyintéző felvétele megtörtént\n"));
  // "--name=value" works as well, and the last of an option given twice wins
  r = Run({"admin", "update", "--id=0002", "--phone", "111", "--phone=112"});
  EXPECT_EQ(r.Status, kOk);
  EXPECT_EQ(Run({"admin", "list"}).Out,
            QStringLiteral("0001 / Minta Ügyintéző / 06123456789\n0002 / Kiss Anna / 112\n"));
  r = Run({"admin", "update", "--id", "2", "--name", ""});
  EXPECT_EQ(r.Status, kFailed);
  EXPECT_EQ(r.Err, QStringLiteral("information: Formátum hiba: A 'Név' formátuma nem helyes: min. "
                                  "1, max 80 karakterből kell állnia\n"));

  r = Run({"admin", "delete", "--id", "2", "--yes"});
  EXPECT_EQ(r.Status, kOk);
  EXPECT_EQ(r.Err, QStringLiteral("confirmation: Biztosan törölni akarja a 0002 azonosítóval "
                                  "beazonosított Ügyintézőt?\ninformation: Törlés végrehajtva\n"));
  r = Run({"admin", "delete", "--id", "2", "--yes"});
  EXPECT_EQ(r.Status, kFailed);
  EXPECT_EQ(r.Err, QStringLiteral("krinu-cli: nincs ilyen azonosítójú ügyintéző: 2\n"));
  EXPECT_EQ(Run({"admin", "update", "--id", "x", "--name", "N"}).Status, kUsage);
  EXPECT_EQ(Run({"admin", "delete"}).Status, kUsage);
}

}  // namespace
}  // namespace krinu::cli
