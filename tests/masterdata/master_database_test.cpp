#include "masterdata/master_database.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "support/test_env.h"

namespace krinu {
namespace {

class Bootstrap : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(data.isValid());
    ASSERT_TRUE(program.isValid());
  }
  QString DataDir() const { return data.path() + QLatin1Char('/'); }
  QString ProgramDir() const { return program.path() + QLatin1Char('/'); }
  QString DbPath() const { return DataDir() + QStringLiteral("Pelodin.db"); }
  std::unique_ptr<TSQLiteDatabase> Open() {
    return OpenMasterDatabase(DataDir(), ProgramDir(), log);
  }

  QTemporaryDir data, program;
  test::CapturedLog log;
};

TEST_F(Bootstrap, NewDatabaseGetsBothTablesAndTheSampleRows) {
  auto db = Open();
  EXPECT_EQ(log.Lines, QStringList({QStringLiteral("Az programhoz tartozó adatbázis (") + DbPath() +
                                        QStringLiteral(") nem létezik"),
                                    QStringLiteral("Új adatbázis kerül létrehozásra")}));
  EXPECT_FALSE(db->InTransaction());

  TRecordList<TAdozoAdat> adozok;
  LoadAdozok(*db, adozok);
  ASSERT_EQ(adozok.Count(), 1);
  EXPECT_EQ(adozok.Key(0), QStringLiteral("19345678910"));
  const TAdozoAdat& a = *adozok.Object(0);
  EXPECT_EQ(a.Nev, QStringLiteral("Zuhanó Részvény Kft"));
  EXPECT_EQ(a.Bank, QStringLiteral("Titkos bankFIÓK"));
  EXPECT_EQ(a.Szamlaszam1 + a.Szamlaszam2, QStringLiteral("100000012000000230000003"));

  TRecordList<TUgyintezoAdat> ugyintezok(true, DuplicateKeys::Error);
  LoadUgyintezok(*db, ugyintezok);
  ASSERT_EQ(ugyintezok.Count(), 1);
  EXPECT_EQ(ugyintezok.Key(0), QStringLiteral("0001"));
  EXPECT_EQ(ugyintezok.Object(0)->UserId, 1);
  EXPECT_EQ(ugyintezok.Object(0)->Nev, QStringLiteral("Minta Ügyintéző"));
  EXPECT_EQ(ugyintezok.Object(0)->Telefon, QStringLiteral("06123456789"));
}

TEST_F(Bootstrap, SeedIsCopiedSilentlyAndNeverOverwritesAnExistingFile) {
  {
    // A seed with its own rows and without the sample taxpayer.
    TSQLiteDatabase seed(ProgramDir() + QStringLiteral("PelodinSample.db"));
    seed.ExecSQL(
        QStringLiteral("CREATE TABLE Adozok (Adoszam, Nev, Bank, Szamlaszam1, Szamlaszam2)"));
    seed.ExecSQL(QStringLiteral("INSERT INTO Adozok VALUES ('11111111111','Seed','B','1','2')"));
  }
  {
    auto db = Open();
    EXPECT_TRUE(log.Lines.isEmpty());
    TRecordList<TAdozoAdat> adozok;
    LoadAdozok(*db, adozok);
    ASSERT_EQ(adozok.Count(), 1);
    EXPECT_EQ(adozok.Object(0)->Nev, QStringLiteral("Seed"));
    db->ExecSQL(QStringLiteral("DELETE FROM Adozok"));
  }
  // The second start finds the (now changed) file and neither copies nor creates.
  auto db = Open();
  EXPECT_TRUE(log.Lines.isEmpty());
  TRecordList<TAdozoAdat> adozok;
  LoadAdozok(*db, adozok);  // an empty table loads nothing and raises nothing
  EXPECT_EQ(adozok.Count(), 0);
}

TEST_F(Bootstrap, LaterStartCreatesNothingSoTheFirstLoadFails) {
  test::WriteFile(DbPath(), QByteArray());  // an empty file: a database without tables
  auto db = Open();
  EXPECT_TRUE(log.Lines.isEmpty());
  TRecordList<TAdozoAdat> adozok;
  try {
    LoadAdozok(*db, adozok);
    FAIL() << "missing table not reported";
  } catch (const ESQLiteException& e) {
    EXPECT_TRUE(e.Message().startsWith(QStringLiteral(
        "Error executing SQL.\rError [1]: SQL error or missing database.\r\"SELECT * FROM Adozok "
        "order by NEV\": no such table: Adozok")));
  }
  db.reset();

  test::WriteFile(DbPath(), QByteArray("this is not a database, just some text. ").repeated(50));
  db = Open();
  try {
    LoadAdozok(*db, adozok);
    FAIL() << "garbage file not reported";
  } catch (const ESQLiteException& e) {
    EXPECT_TRUE(
        e.Message().contains(QStringLiteral("[26]: File opened that is not a database file")))
        << e.Message().toStdString();
  }
}

TEST_F(Bootstrap, DeletedIdsAreNeverGivenOutAgain) {
  auto db = Open();
  db->ExecSQL(QStringLiteral("INSERT INTO Ugyintezok (Nev,Telefon) VALUES ('B', '2')"));
  db->ExecSQL(QStringLiteral("DELETE FROM Ugyintezok WHERE UserID = 2"));
  db->ExecSQL(QStringLiteral("INSERT INTO Ugyintezok (Nev,Telefon) VALUES ('C', '3')"));
  TRecordList<TUgyintezoAdat> list(true, DuplicateKeys::Error);
  LoadUgyintezok(*db, list);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Key(1), QStringLiteral("0003"));
}

TEST_F(Bootstrap, BusyDatabaseFailsAQueryAtOnce) {
  auto db = Open();
  TSQLiteDatabase other(DbPath());
  other.ExecSQL(QStringLiteral("BEGIN EXCLUSIVE"));
  TRecordList<TAdozoAdat> list;
  try {
    LoadAdozok(*db, list);
    FAIL() << "no busy report";
  } catch (const ESQLiteException& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("SQLite is Busy.\rError [5]: The database file is "
                                          "locked.\r\"SELECT * FROM Adozok order by NEV\": "
                                          "database is locked"));
  }
  EXPECT_EQ(QueryCount(*db, QStringLiteral("Select count(*) from Adozok")), -1);
  other.ExecSQL(QStringLiteral("ROLLBACK"));
  EXPECT_EQ(QueryCount(*db, QStringLiteral("Select count(*) from Adozok")), 1);
}

}  // namespace
}  // namespace krinu
