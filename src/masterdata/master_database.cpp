#include "masterdata/master_database.h"

#include <QFile>
#include <QFileInfo>

#include "common/text_util.h"

namespace krinu {

std::unique_ptr<TSQLiteDatabase> OpenMasterDatabase(const QString& dataDir,
                                                    const QString& programDir,
                                                    const LogSink& log) {
  const QString path = dataDir + QLatin1String(kMasterDatabaseName);
  // QFile::copy never overwrites an existing target; a missing seed simply leaves no file.
  if (!QFileInfo::exists(path)) QFile::copy(programDir + QLatin1String(kSeedDatabaseName), path);
  if (QFileInfo::exists(path)) return std::make_unique<TSQLiteDatabase>(path);

  log.Write(LogSource::Database, QStringLiteral("Az programhoz tartozó adatbázis (") + path +
             QStringLiteral(") nem létezik"));
  log.Write(LogSource::Database, QStringLiteral("Új adatbázis kerül létrehozásra"));
  auto db = std::make_unique<TSQLiteDatabase>(path);
  db->ExecSQL(QStringLiteral(
      "CREATE TABLE Adozok ([Adoszam] VARCHAR (11) PRIMARY KEY NOT NULL,"
      "[Nev] VARCHAR (80) NOT NULL,[Bank] VARCHAR (80) NOT NULL, [Szamlaszam1] VARCHAR (8) NOT "
      "NULL, [Szamlaszam2] VARCHAR (16) NOT NULL);"));
  db->BeginTransaction();
  db->ExecSQL(
      QStringLiteral("INSERT INTO Adozok(Adoszam,Nev,Bank,Szamlaszam1,Szamlaszam2) VALUES "
                     "(\"19345678910\",\"Zuhanó Részvény Kft\",\"Titkos "
                     "bankFIÓK\",\"10000001\",\"2000000230000003\");"));
  db->Commit();
  db->ExecSQL(
      QStringLiteral("CREATE TABLE Ugyintezok ([UserID] INTEGER PRIMARY KEY AUTOINCREMENT,"
                     "[Nev] VARCHAR (80) NOT NULL,[Telefon] VARCHAR (40) NOT NULL);"));
  db->BeginTransaction();
  db->ExecSQL(
      QStringLiteral("INSERT INTO Ugyintezok(Nev,Telefon) "
                     "VALUES (\"Minta Ügyintéző\",\"06123456789\");"));
  db->Commit();
  return db;
}

void LoadAdozok(TSQLiteDatabase& db, TRecordList<TAdozoAdat>& list) {
  const auto table = db.GetTable(QStringLiteral("SELECT * FROM Adozok order by NEV"));
  if (table->Count() <= 0) return;
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
}

void LoadUgyintezok(TSQLiteDatabase& db, TRecordList<TUgyintezoAdat>& list) {
  const auto table = db.GetTable(QStringLiteral("SELECT * FROM Ugyintezok order by NEV"));
  if (table->Count() <= 0) return;
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
}

qint32 QueryCount(TSQLiteDatabase& db, const QString& sql, const SqlParams& params) {
  try {
    const auto table = db.GetTable(sql, params);
    if (table->Count() != 1) return -1;
    return qint32(quint32(quint64(table->FieldAsInteger(0))));
  } catch (const std::exception&) {
    return -1;  // the caller decides what a failed count means
  }
}

}  // namespace krinu
