#include "masterdata/master_database.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include "common/text_util.h"
#include "masterdata/file_placement.h"

namespace krinu {

namespace {

// An unused name beside path: the database is made or copied there and moved to path only
// when it is complete, so an interrupted first start (full disk, killed) leaves no
// half-made file that every later start would open and refuse.
QString NameBeside(const QString& path) {
  for (;;) {
    const QString name = path + QStringLiteral(".%1.tmp").arg(
                                    QRandomGenerator::system()->generate64(), 16, 16, QChar(u'0'));
    if (!QFileInfo::exists(name)) return name;
  }
}

// What a failed attempt may leave: the file itself and the engine's journal beside it.
void RemoveAttempt(const QString& name) {
  QFile::remove(name);
  QFile::remove(name + QStringLiteral("-journal"));
}

// Copies the seed to path, never over an existing file. A missing seed, or a copy that
// fails, leaves no file at path. The copy always gets the owner's write permission: a
// read-only seed (as installed beside the program) must not give a read-only database.
void CopySeed(const QString& seed, const QString& path) {
  if (!QFileInfo(seed).isFile()) return;
  const QString name = NameBeside(path);
  const bool ok = QFile::copy(seed, name) &&
                  QFile::setPermissions(name, QFile::permissions(name) | QFileDevice::ReadOwner |
                                                  QFileDevice::WriteOwner) &&
                  SyncToDisk(name) && MoveIntoPlace(name, path).Moved;
  if (!ok) RemoveAttempt(name);
}

// Both tables and their sample rows, in a file of their own.
void MakeNewDatabase(const QString& name) {
  TSQLiteDatabase db(name);
  db.ExecSQL(QStringLiteral(
      "CREATE TABLE Adozok ([Adoszam] VARCHAR (11) PRIMARY KEY NOT NULL,"
      "[Nev] VARCHAR (80) NOT NULL,[Bank] VARCHAR (80) NOT NULL, [Szamlaszam1] VARCHAR (8) NOT "
      "NULL, [Szamlaszam2] VARCHAR (16) NOT NULL);"));
  db.BeginTransaction();
  db.ExecSQL(
      QStringLiteral("INSERT INTO Adozok(Adoszam,Nev,Bank,Szamlaszam1,Szamlaszam2) VALUES "
                     "(\"19345678910\",\"Zuhanó Részvény Kft\",\"Titkos "
                     "bankFIÓK\",\"10000001\",\"2000000230000003\");"));
  db.Commit();
  db.ExecSQL(
      QStringLiteral("CREATE TABLE Ugyintezok ([UserID] INTEGER PRIMARY KEY AUTOINCREMENT,"
                     "[Nev] VARCHAR (80) NOT NULL,[Telefon] VARCHAR (40) NOT NULL);"));
  db.BeginTransaction();
  db.ExecSQL(
      QStringLiteral("INSERT INTO Ugyintezok(Nev,Telefon) "
                     "VALUES (\"Minta Ügyintéző\",\"06123456789\");"));
  db.Commit();
}

}  // namespace

namespace {

std::unique_ptr<TSQLiteDatabase> OpenOrCreate(const QString& dataDir, const QString& programDir,
                                              const LogSink& log) {
  const QString path = dataDir + QLatin1String(kMasterDatabaseName);
  if (!QFileInfo::exists(path)) CopySeed(programDir + QLatin1String(kSeedDatabaseName), path);
  if (QFileInfo::exists(path)) return std::make_unique<TSQLiteDatabase>(path);

  log.Write(LogSource::Database, QStringLiteral("Az programhoz tartozó adatbázis (") + path +
                                     QStringLiteral(") nem létezik"));
  log.Write(LogSource::Database, QStringLiteral("Új adatbázis kerül létrehozásra"));
  const QString name = NameBeside(path);
  try {
    MakeNewDatabase(name);  // closed on return: complete on disk, no journal left
    const TPlacement placed = MoveIntoPlace(name, path);
    // Another start that made the file meanwhile wins; its file is complete as well.
    if (!placed.Moved && !placed.TargetExists)
      throw ESQLiteException(
          QStringLiteral("Failed to create database \"%1\" : %2").arg(path, placed.Reason));
    if (!placed.Moved) RemoveAttempt(name);
  } catch (...) {
    RemoveAttempt(name);
    throw;
  }
  auto db = std::make_unique<TSQLiteDatabase>(path);
  // Read the schema now, as the connection that made the tables had it: a lock held by
  // another process then fails the first load at its step ("SQLite is Busy"), not while
  // its statement is prepared. A failure here is the first load's to report.
  (void)QueryCount(*db, QStringLiteral("SELECT count(*) FROM sqlite_master"));
  return db;
}

TFailure DatabaseFailure(const ESQLiteException& e) {
  return Fail(TFailureKind::Database, e.Message());
}

// A file that is no database, a damaged one, or one without the program's tables: what
// the engine says is kept, and the file and the way out are named after it.
TFailure ReadFailure(const TSQLiteDatabase& db, const ESQLiteException& e) {
  const QString& m = e.Message();
  if (!m.contains(QStringLiteral("Error [26]")) && !m.contains(QStringLiteral("Error [11]")) &&
      !m.contains(QStringLiteral("no such table")))
    return DatabaseFailure(e);
  return Fail(
      TFailureKind::Database,
      m + QStringLiteral("\n\nAz adatbázis fájl (") + db.FileName() +
          QStringLiteral(") sérült, vagy nem ennek a programnak az adatbázisa; az adózók és az "
                         "ügyintézők most nem érhetők el. Kérem, zárja be a programot, és tegye "
                         "félre ezt a fájlt (nevezze át, vagy helyezze át máshová): a következő "
                         "indításkor a program új adatbázist hoz létre."));
}

}  // namespace

TResult<std::unique_ptr<TSQLiteDatabase>> OpenMasterDatabase(const QString& dataDir,
                                                             const QString& programDir,
                                                             const LogSink& log) {
  try {
    return OpenOrCreate(dataDir, programDir, log);
  } catch (const ESQLiteException& e) {
    return DatabaseFailure(e);
  }
}

TStatus LoadAdozok(TSQLiteDatabase& db, TRecordList<TAdozoAdat>& list) {
  try {
    const auto table = db.GetTable(QStringLiteral("SELECT * FROM Adozok order by NEV"));
    if (table->Count() <= 0) return {};
    const int adoszam = table->FieldIndex(QStringLiteral("Adoszam"));
    const int nev = table->FieldIndex(QStringLiteral("Nev"));
    const int bank = table->FieldIndex(QStringLiteral("Bank"));
    const int szamla1 = table->FieldIndex(QStringLiteral("Szamlaszam1"));
    const int szamla2 = table->FieldIndex(QStringLiteral("Szamlaszam2"));
    while (!table->EOF_()) {
      auto rec = std::make_unique<TAdozoAdat>();
      rec->Adoszam = table->FieldAsString(adoszam);
      rec->Nev = table->FieldAsString(nev);
      rec->Bank = table->FieldAsString(bank);
      rec->Szamlaszam1 = table->FieldAsString(szamla1);
      rec->Szamlaszam2 = table->FieldAsString(szamla2);
      const QString key = rec->Adoszam;
      list.Add(key, std::move(rec));
      table->Next();
    }
  } catch (const ESQLiteException& e) {
    return ReadFailure(db, e);
  }
  return {};
}

TStatus LoadUgyintezok(TSQLiteDatabase& db, TRecordList<TUgyintezoAdat>& list) {
  try {
    const auto table = db.GetTable(QStringLiteral("SELECT * FROM Ugyintezok order by NEV"));
    if (table->Count() <= 0) return {};
    const int nev = table->FieldIndex(QStringLiteral("Nev"));
    const int telefon = table->FieldIndex(QStringLiteral("Telefon"));
    const int userId = table->FieldIndex(QStringLiteral("UserID"));
    while (!table->EOF_()) {
      auto rec = std::make_unique<TUgyintezoAdat>();
      rec->Nev = table->FieldAsString(nev);
      rec->Telefon = table->FieldAsString(telefon);
      rec->UserId = qint32(quint32(quint64(table->FieldAsInteger(userId))));  // low 32 bits
      const QString key = ZeroPadded(rec->UserId, 4);
      list.Add(key, std::move(rec));
      table->Next();
    }
  } catch (const ESQLiteException& e) {
    return ReadFailure(db, e);
  }
  return {};
}

TResult<qint32> QueryCount(TSQLiteDatabase& db, const QString& sql, const SqlParams& params) {
  try {
    const auto table = db.GetTable(sql, params);
    if (table->Count() != 1)
      return Fail(TFailureKind::Database,
                  QStringLiteral("A lekérdezés nem egy sort adott: ") + sql);
    return qint32(quint32(quint64(table->FieldAsInteger(0))));
  } catch (const ESQLiteException& e) {
    return DatabaseFailure(e);
  } catch (const std::exception& e) {
    return Fail(TFailureKind::Database, QString::fromUtf8(e.what()));
  }
}

}  // namespace krinu
