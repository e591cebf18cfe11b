#include "masterdata/master_database.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#ifndef Q_OS_WIN
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "masterdata/registers.h"
#include "support/file_size_limit.h"
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
  TResult<std::unique_ptr<TSQLiteDatabase>> Open() {
    return OpenMasterDatabase(DataDir(), ProgramDir(), log);
  }

  QTemporaryDir data, program;
  test::CapturedLog log;
};

TEST_F(Bootstrap, NewDatabaseGetsBothTablesAndTheSampleRows) {
  auto db = Open().Take();
  EXPECT_EQ(log.Lines, QStringList({QStringLiteral("Az programhoz tartozó adatbázis (") + DbPath() +
                                        QStringLiteral(") nem létezik"),
                                    QStringLiteral("Új adatbázis kerül létrehozásra")}));
  EXPECT_FALSE(db->InTransaction());

  TRecordList<TAdozoAdat> adozok;
  EXPECT_TRUE(LoadAdozok(*db, adozok).Ok());
  ASSERT_EQ(adozok.Count(), 1);
  EXPECT_EQ(adozok.Key(0), QStringLiteral("19345678910"));
  const TAdozoAdat& a = *adozok.Object(0);
  EXPECT_EQ(a.Nev, QStringLiteral("Zuhanó Részvény Kft"));
  EXPECT_EQ(a.Bank, QStringLiteral("Titkos bankFIÓK"));
  EXPECT_EQ(a.Szamlaszam1 + a.Szamlaszam2, QStringLiteral("100000012000000230000003"));

  TRecordList<TUgyintezoAdat> ugyintezok(true, DuplicateKeys::Error);
  EXPECT_TRUE(LoadUgyintezok(*db, ugyintezok).Ok());
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
    auto db = Open().Take();
    EXPECT_TRUE(log.Lines.isEmpty());
    TRecordList<TAdozoAdat> adozok;
    EXPECT_TRUE(LoadAdozok(*db, adozok).Ok());
    ASSERT_EQ(adozok.Count(), 1);
    EXPECT_EQ(adozok.Object(0)->Nev, QStringLiteral("Seed"));
    db->ExecSQL(QStringLiteral("DELETE FROM Adozok"));
  }
  // The second start finds the (now changed) file and neither copies nor creates.
  auto db = Open().Take();
  EXPECT_TRUE(log.Lines.isEmpty());
  TRecordList<TAdozoAdat> adozok;
  EXPECT_TRUE(LoadAdozok(*db, adozok).Ok());  // an empty table loads nothing and raises nothing
  EXPECT_EQ(adozok.Count(), 0);
}

TEST_F(Bootstrap, LaterStartCreatesNothingSoTheFirstLoadFails) {
  test::WriteFile(DbPath(), QByteArray());  // an empty file: a database without tables
  auto db = Open().Take();
  EXPECT_TRUE(log.Lines.isEmpty());
  TRecordList<TAdozoAdat> adozok;
  TStatus loaded = LoadAdozok(*db, adozok);
  ASSERT_FALSE(loaded) << "missing table not reported";
  EXPECT_TRUE(loaded.Message().startsWith(QStringLiteral(
      "Error executing SQL.\rError [1]: SQL error or missing database.\r\"SELECT * FROM Adozok "
      "order by NEV\": no such table: Adozok")));
  db.reset();

  test::WriteFile(DbPath(), QByteArray("this is not a database, just some text. ").repeated(50));
  db = Open().Take();
  loaded = LoadAdozok(*db, adozok);
  ASSERT_FALSE(loaded) << "garbage file not reported";
  EXPECT_TRUE(
      loaded.Message().contains(QStringLiteral("[26]: File opened that is not a database file")))
      << loaded.Message().toStdString();
}

// Files in a folder, hidden ones (journals, temporary names) included.
QStringList FilesIn(const QString& dir) {
  return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Both tables with the sample rows: what a first start without a seed must leave.
void ExpectSampleRows(TSQLiteDatabase& db) {
  TRecordList<TAdozoAdat> adozok;
  EXPECT_TRUE(LoadAdozok(db, adozok).Ok());
  ASSERT_EQ(adozok.Count(), 1);
  EXPECT_EQ(adozok.Key(0), QStringLiteral("19345678910"));
  TRecordList<TUgyintezoAdat> ugyintezok(true, DuplicateKeys::Error);
  EXPECT_TRUE(LoadUgyintezok(db, ugyintezok).Ok());
  ASSERT_EQ(ugyintezok.Count(), 1);
  EXPECT_EQ(ugyintezok.Object(0)->Telefon, QStringLiteral("06123456789"));
}

// Runs f as an ordinary user and returns its result. Root may write to any file, so for
// root f runs in a child process that has given up root (as "nobody"); the folders it
// works in must be open to that user.
int AsOrdinaryUser(const std::function<int()>& f) {
#ifdef Q_OS_WIN
  return f();  // read-only files bind every user there
#else
  if (::geteuid() != 0) return f();
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(100);
    ::_exit(f());
  }
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
#endif
}

TEST_F(Bootstrap, ReadOnlySeedGivesAWritableCopy) {
  const QString seedPath = ProgramDir() + QStringLiteral("PelodinSample.db");
  {
    TSQLiteDatabase seed(seedPath);
    seed.ExecSQL(
        QStringLiteral("CREATE TABLE Adozok ([Adoszam] VARCHAR (11) PRIMARY KEY NOT "
                       "NULL, Nev, Bank, Szamlaszam1, Szamlaszam2)"));
  }
  const auto readOnly = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
  ASSERT_TRUE(QFile::setPermissions(seedPath, readOnly));
  const auto open = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                    QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                    QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
  ASSERT_TRUE(QFile::setPermissions(data.path(), open));
  ASSERT_TRUE(QFile::setPermissions(program.path(), open));

  // The first start copies the seed, and a write to the copy goes through.
  const int rc = AsOrdinaryUser([&] {
    auto opened = Open();
    if (!opened) return 3;
    if (!log.Lines.isEmpty()) return 1;
    const TAdozoAdat rec{QStringLiteral("12345678901"), QStringLiteral("N"), QStringLiteral("B"),
                         QStringLiteral("11111111"), QStringLiteral("22222222")};
    const TResult<Trrc> written = InsertAdozo(*opened.Value(), rec);
    return written && written->Ok() ? 0 : 2;
  });
  EXPECT_EQ(rc, 0) << "1: something was created, 2: the write failed, 3: the start failed";
  EXPECT_TRUE(QFileInfo(DbPath()).permissions() & QFileDevice::WriteOwner);
  EXPECT_EQ(QFileInfo(seedPath).permissions() & 0x7077, readOnly) << "the seed is left alone";
  EXPECT_EQ(FilesIn(DataDir()), QStringList{QStringLiteral("Pelodin.db")});
}

TEST_F(Bootstrap, CreationThatFailsPartWayLeavesNoDatabase) {
  KRINU_NEEDS_FILE_SIZE_LIMIT();
  // A disk that fills up at every stage of the creation in turn.
  int failures = 0;
  for (qint64 limit = 1024; limit <= 40960; limit += 1024) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString dataDir = dir.path() + QLatin1Char('/');
    test::CapturedLog firstLog;
    bool failed = false;
    {
      test::FileSizeLimit full(limit);
      failed = !OpenMasterDatabase(dataDir, ProgramDir(), firstLog).Ok();
    }
    if (failed) {
      ++failures;
      EXPECT_EQ(FilesIn(dataDir), QStringList()) << "limit " << limit;
      EXPECT_EQ(firstLog.Lines.size(), 2);
    }
    // The next start (with room) finds no file and makes it whole.
    test::CapturedLog nextLog;
    auto db = OpenMasterDatabase(dataDir, ProgramDir(), nextLog).Take();
    EXPECT_EQ(nextLog.Lines.size(), failed ? 2 : 0) << "limit " << limit;
    ExpectSampleRows(*db);
    EXPECT_EQ(FilesIn(dataDir), QStringList{QStringLiteral("Pelodin.db")});
  }
  EXPECT_GT(failures, 3);
}

TEST_F(Bootstrap, SeedCopyThatFailsPartWayLeavesNoDatabase) {
  KRINU_NEEDS_FILE_SIZE_LIMIT();
  const QString seedPath = ProgramDir() + QStringLiteral("PelodinSample.db");
  {
    TSQLiteDatabase seed(seedPath);
    seed.ExecSQL(
        QStringLiteral("CREATE TABLE Adozok (Adoszam, Nev, Bank, Szamlaszam1, Szamlaszam2)"));
    seed.ExecSQL(
        QStringLiteral("CREATE TABLE Ugyintezok (UserID INTEGER PRIMARY KEY, Nev, "
                       "Telefon)"));
    seed.ExecSQL(
        QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                       "WHERE i < 300) INSERT INTO Adozok SELECT printf('%011d', i), "
                       "printf('%0200d', i), 'B', '1', '2' FROM n"));
  }
  ASSERT_GT(QFileInfo(seedPath).size(), 65536);
  {
    // Too small for the seed, and for a new database as well.
    test::FileSizeLimit full(16384);
    EXPECT_FALSE(Open().Ok());
  }
  EXPECT_EQ(FilesIn(DataDir()), QStringList());
  log.Lines.clear();
  auto db = Open().Take();
  EXPECT_TRUE(log.Lines.isEmpty()) << "the seed is copied, nothing is created";
  TRecordList<TAdozoAdat> adozok;
  EXPECT_TRUE(LoadAdozok(*db, adozok).Ok());
  EXPECT_EQ(adozok.Count(), 300);
  EXPECT_EQ(QFileInfo(DbPath()).size(), QFileInfo(seedPath).size());
}

TEST_F(Bootstrap, DeletedIdsAreNeverGivenOutAgain) {
  auto db = Open().Take();
  db->ExecSQL(QStringLiteral("INSERT INTO Ugyintezok (Nev,Telefon) VALUES ('B', '2')"));
  db->ExecSQL(QStringLiteral("DELETE FROM Ugyintezok WHERE UserID = 2"));
  db->ExecSQL(QStringLiteral("INSERT INTO Ugyintezok (Nev,Telefon) VALUES ('C', '3')"));
  TRecordList<TUgyintezoAdat> list(true, DuplicateKeys::Error);
  EXPECT_TRUE(LoadUgyintezok(*db, list).Ok());
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Key(1), QStringLiteral("0003"));
}

TEST_F(Bootstrap, BusyDatabaseFailsAQueryOnceTheWaitRunsOut) {
  auto db = Open().Take();
  db->SetBusyTimeout(100);
  TSQLiteDatabase other(DbPath());
  other.ExecSQL(QStringLiteral("BEGIN EXCLUSIVE"));
  TRecordList<TAdozoAdat> list;
  const TStatus loaded = LoadAdozok(*db, list);
  EXPECT_EQ(loaded.Message(),
            QStringLiteral("Az adatbázist (") + DbPath() +
                QStringLiteral(") egy másik program használja, és a várakozás alatt sem engedte "
                               "el; semmi nem változott. Kérem, próbálja újra később"));
  EXPECT_FALSE(QueryCount(*db, QStringLiteral("Select count(*) from Adozok")).Ok());
  other.ExecSQL(QStringLiteral("ROLLBACK"));
  EXPECT_EQ(QueryCount(*db, QStringLiteral("Select count(*) from Adozok")).Value(), 1);
}

TEST_F(Bootstrap, WriteThatATriggerWidensIsRolledBack) {
  auto db = Open().Take();
  db->ExecSQL(QStringLiteral(
      "CREATE TRIGGER wipe AFTER INSERT ON Adozok BEGIN "
      "DELETE FROM Adozok WHERE Adoszam <> new.Adoszam; DELETE FROM Ugyintezok; END"));
  const TAdozoAdat rec{QStringLiteral("22222222222"), QStringLiteral("Új"), QStringLiteral("B"),
                       QStringLiteral("11111111"), QStringLiteral("22222222")};
  const TResult<Trrc> added = InsertAdozo(*db, rec);
  ASSERT_TRUE(added.Ok());
  EXPECT_EQ(added->rc, 1);
  EXPECT_TRUE(added->Note.startsWith(QStringLiteral("Az adatbázisban (") + DbPath() +
                                     QStringLiteral(") egy eseményindító (trigger) vagy más "
                                                    "szabály további 2 rekordot")))
      << added->Note.toStdString();
  EXPECT_FALSE(db->InTransaction());
  ExpectSampleRows(*db);  // the new row is not there, the old ones are
  EXPECT_EQ(QueryCount(*db, QStringLiteral("select count(*) from Adozok")).Value(), 1);
}

#ifndef Q_OS_WIN
TEST_F(Bootstrap, AnotherWritersShortLockIsWaitedFor) {
  auto db = Open().Take();
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t pid = ::fork();
  if (pid == 0) {
    // A connection of the child's own; it ends with _exit, so nothing of the parent runs.
    try {
      TSQLiteDatabase other(DbPath());
      other.ExecSQL(QStringLiteral("BEGIN EXCLUSIVE"));
      (void)!::write(ready[1], "1", 1);
      ::sleep(1);
      other.ExecSQL(QStringLiteral("ROLLBACK"));
    } catch (...) {
      (void)!::write(ready[1], "0", 1);
      ::_exit(1);
    }
    ::_exit(0);
  }
  char c = 0;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  ASSERT_EQ(c, '1');
  const TAdozoAdat rec{QStringLiteral("22222222222"), QStringLiteral("Új"), QStringLiteral("B"),
                       QStringLiteral("11111111"), QStringLiteral("22222222")};
  const TResult<Trrc> added = InsertAdozo(*db, rec);
  int status = 0;
  ::waitpid(pid, &status, 0);
  ::close(ready[0]);
  ::close(ready[1]);
  ASSERT_TRUE(added.Ok()) << added.Message().toStdString();
  EXPECT_EQ(added->rc, 0) << added->Note.toStdString();
  EXPECT_EQ(QueryCount(*db, QStringLiteral("select count(*) from Adozok")).Value(), 2);
}
#endif

}  // namespace
}  // namespace krinu
