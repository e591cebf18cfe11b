#include "masterdata/sqlite_database.h"

#include <sqlite3.h>

#include <QByteArray>

namespace krinu {

namespace {

// Column kinds, numbered as the engine numbers its storage classes.
enum ColumnKind { kInteger = 1, kFloat = 2, kText = 3, kBlob = 4, kNull = 5 };

// The SQL as the user would read it in a message: each bound ?N shows its value the way
// the program's statements write values (text between double quotes), so a message reads
// the same whether a value was bound or written into the text.
QString SqlForMessage(const QString& sql, const SqlParams& params) {
  if (params.isEmpty()) return sql;
  QString out;
  out.reserve(sql.size());
  QChar quote;
  for (qsizetype i = 0; i < sql.size(); ++i) {
    const QChar c = sql[i];
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();
      out += c;
      continue;
    }
    if (c == u'"' || c == u'\'' || c == u'[') {
      quote = c == u'[' ? QChar(u']') : c;
      out += c;
      continue;
    }
    if (c == u'?') {
      qsizetype j = i + 1;
      while (j < sql.size() && sql[j].isDigit()) ++j;
      bool ok = false;
      const int n = sql.mid(i + 1, j - i - 1).toInt(&ok);
      if (ok && n >= 1 && n <= params.size()) {
        const QVariant& v = params[n - 1];
        if (v.isNull())
          out += QStringLiteral("NULL");
        else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong ||
                 v.typeId() == QMetaType::UInt || v.typeId() == QMetaType::ULongLong)
          out += v.toString();
        else
          out += u'"' + v.toString() + u'"';
        i = j - 1;
        continue;
      }
    }
    out += c;
  }
  return out;
}

// The failure text alone, or with the engine's code, its name, the SQL and the engine's
// own message when the engine has something to say.
QString FormatFailure(sqlite3* db, const QString& failure, const QString& sql) {
  const int code = db ? (sqlite3_errcode(db) & 0xff) : 0;
  const char* msg = db ? sqlite3_errmsg(db) : nullptr;
  if (code == 0 || msg == nullptr) return failure;
  return failure + QStringLiteral(".\rError [") + QString::number(code) + QStringLiteral("]: ") +
         SQLiteErrorCodeName(code) + QStringLiteral(".\r\"") + sql + QStringLiteral("\": ") +
         QString::fromUtf8(msg);
}

// Once the wait for another program's lock has run out.
QString BusyMessage(const QString& fileName) {
  return QStringLiteral(
             "Az adatbázist (%1) egy másik program használja, és a várakozás alatt "
             "sem engedte el; semmi nem változott. Kérem, próbálja újra később")
      .arg(fileName);
}

// Releases a compiled statement on every path out of ExecSQL and GetTable.
struct Statement {
  sqlite3_stmt* stmt = nullptr;
  ~Statement() { sqlite3_finalize(stmt); }
};

void Prepare(sqlite3* db, const QString& sql, const SqlParams& params, Statement& st) {
  const QByteArray utf8 = sql.toUtf8();
  if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &st.stmt, nullptr) != SQLITE_OK)
    throw ESQLiteException(
        FormatFailure(db, QStringLiteral("Error executing SQL"), SqlForMessage(sql, params)));
  if (st.stmt == nullptr) throw ESQLiteException(QStringLiteral("Could not prepare SQL statement"));
  for (int i = 0; i < params.size(); ++i) {
    const QVariant& v = params[i];
    int rc;
    if (v.isNull()) {
      rc = sqlite3_bind_null(st.stmt, i + 1);
    } else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong ||
               v.typeId() == QMetaType::UInt) {
      rc = sqlite3_bind_int64(st.stmt, i + 1, v.toLongLong());
    } else if (v.typeId() == QMetaType::Double) {
      rc = sqlite3_bind_double(st.stmt, i + 1, v.toDouble());
    } else if (v.typeId() == QMetaType::QByteArray) {
      const QByteArray bytes = v.toByteArray();
      rc = sqlite3_bind_blob64(st.stmt, i + 1, bytes.constData(), sqlite3_uint64(bytes.size()),
                               SQLITE_TRANSIENT);
    } else {
      const QByteArray text = v.toString().toUtf8();
      rc = sqlite3_bind_text64(st.stmt, i + 1, text.constData(), sqlite3_uint64(text.size()),
                               SQLITE_TRANSIENT, SQLITE_UTF8);
    }
    if (rc != SQLITE_OK)
      throw ESQLiteException(
          FormatFailure(db, QStringLiteral("Error executing SQL"), SqlForMessage(sql, params)));
  }
}

int KindOfDeclaredType(const char* declared) {
  if (declared == nullptr) return 0;  // decided by the first row's value
  const QByteArray t(declared);
  if (t == "INTEGER" || t == "BOOLEAN") return kInteger;
  if (t == "NUMERIC" || t == "FLOAT" || t == "DOUBLE" || t == "REAL") return kFloat;
  if (t == "BLOB") return kBlob;
  return kText;
}

}  // namespace

QString SQLiteErrorCodeName(int code) {
  switch (code) {
    case 0:
      return QStringLiteral("Successful result");
    case 1:
      return QStringLiteral("SQL error or missing database");
    case 2:
      return QStringLiteral("An internal logic error in SQLite");
    case 3:
      return QStringLiteral("Access permission denied");
    case 4:
      return QStringLiteral("Callback routine requested an abort");
    case 5:
      return QStringLiteral("The database file is locked");
    case 6:
      return QStringLiteral("A table in the database is locked");
    case 7:
      return QStringLiteral("A malloc() failed");
    case 8:
      return QStringLiteral("Attempt to write a readonly database");
    case 9:
      return QStringLiteral("Operation terminated by sqlite3_interrupt()");
    case 10:
      return QStringLiteral("Some kind of disk I/O error occurred");
    case 11:
      return QStringLiteral("The database disk image is malformed");
    case 12:
      return QStringLiteral("(Internal Only) Table or record not found");
    case 13:
      return QStringLiteral("Insertion failed because database is full");
    case 14:
      return QStringLiteral("Unable to open the database file");
    case 15:
      return QStringLiteral("Database lock protocol error");
    case 16:
      return QStringLiteral("Database is empty");
    case 17:
      return QStringLiteral("The database schema changed");
    case 18:
      return QStringLiteral("Too much data for one row of a table");
    case 19:
      return QStringLiteral("Abort due to contraint violation");
    case 20:
      return QStringLiteral("Data type mismatch");
    case 21:
      return QStringLiteral("Library used incorrectly");
    case 22:
      return QStringLiteral("Uses OS features not supported on host");
    case 23:
      return QStringLiteral("Authorization denied");
    case 24:
      return QStringLiteral("Auxiliary database format error");
    case 25:
      return QStringLiteral("2nd parameter to sqlite3_bind out of range");
    case 26:
      return QStringLiteral("File opened that is not a database file");
    case 100:
      return QStringLiteral("sqlite3_step() has another row ready");
    case 101:
      return QStringLiteral("sqlite3_step() has finished executing");
    default:
      return QStringLiteral("Unknown SQLite Error Code \"") + QString::number(code) +
             QStringLiteral("\"");
  }
}

TSQLiteDatabase::TSQLiteDatabase(const QString& fileName) : fileName_(fileName) {
  const QByteArray path = fileName.toUtf8();
  const int rc =
      sqlite3_open_v2(path.constData(), &fDB, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc != SQLITE_OK) {
    QString message;
    if (fDB != nullptr) {
      message = QStringLiteral("Failed to open database \"%1\" : %2")
                    .arg(fileName, QString::fromUtf8(sqlite3_errmsg(fDB)));
      sqlite3_close(fDB);
    } else {
      message = QStringLiteral("Failed to open database \"%1\" : unknown error").arg(fileName);
    }
    fDB = nullptr;
    throw ESQLiteException(message);
  }
  // The program's own statements write text values between double quotes; keep that
  // working even on an engine built with double-quoted literals switched off.
  sqlite3_db_config(fDB, SQLITE_DBCONFIG_DQS_DML, 1, nullptr);
  sqlite3_db_config(fDB, SQLITE_DBCONFIG_DQS_DDL, 1, nullptr);
  // Another krinu (a batch run, a second window) holds the file only for a moment.
  SetBusyTimeout(kBusyTimeoutMs);
}

void TSQLiteDatabase::SetBusyTimeout(int milliseconds) {
  sqlite3_busy_timeout(fDB, milliseconds);
}

TSQLiteDatabase::~TSQLiteDatabase() {
  if (fInTrans) {
    try {
      Rollback();
    } catch (const ESQLiteException&) {
      // Closing the connection rolls back whatever is still open.
    }
  }
  sqlite3_close(fDB);
}

void TSQLiteDatabase::ExecSQL(const QString& sql, const SqlParams& params) {
  Statement st;
  Prepare(fDB, sql, params, st);
  if (const int rc = sqlite3_step(st.stmt); rc != SQLITE_DONE) {
    const QString message =
        (rc & 0xff) == SQLITE_BUSY
            ? BusyMessage(fileName_)
            : FormatFailure(fDB, QStringLiteral("Error executing SQL statement"),
                            SqlForMessage(sql, params));
    sqlite3_reset(st.stmt);
    throw ESQLiteException(message);
  }
}

std::unique_ptr<TSQLiteTable> TSQLiteDatabase::GetTable(const QString& sql,
                                                        const SqlParams& params) {
  Statement st;
  Prepare(fDB, sql, params, st);
  std::unique_ptr<TSQLiteTable> table(new TSQLiteTable());
  for (;;) {
    const int rc = sqlite3_step(st.stmt);
    if (rc == SQLITE_DONE) break;
    if ((rc & 0xff) == SQLITE_BUSY) throw ESQLiteException(BusyMessage(fileName_));
    if (rc != SQLITE_ROW) {
      const QString message =
          FormatFailure(fDB, QStringLiteral("Could not retrieve data"), SqlForMessage(sql, params));
      sqlite3_reset(st.stmt);
      throw ESQLiteException(message);
    }
    if (table->fRowCount == 0) {
      table->fColCount = sqlite3_column_count(st.stmt);
      for (int c = 0; c < table->fColCount; ++c) {
        table->fCols.append(QString::fromUtf8(sqlite3_column_name(st.stmt, c)).toUpper());
        int kind = KindOfDeclaredType(sqlite3_column_decltype(st.stmt, c));
        if (kind == 0) kind = sqlite3_column_type(st.stmt, c);
        table->fColTypes.append(kind);
      }
    }
    for (int c = 0; c < table->fColCount; ++c) {
      const int storage = sqlite3_column_type(st.stmt, c);
      if (storage == SQLITE_NULL) {
        table->fResults.append(QVariant());
        continue;
      }
      int kind = table->fColTypes[c];
      if (kind == kNull) kind = storage;  // first row was NULL: take this value's own class
      switch (kind) {
        case kInteger:
          table->fResults.append(QVariant(qint64(sqlite3_column_int64(st.stmt, c))));
          break;
        case kFloat:
          table->fResults.append(QVariant(sqlite3_column_double(st.stmt, c)));
          break;
        case kBlob: {
          const int n = sqlite3_column_bytes(st.stmt, c);
          const void* p = sqlite3_column_blob(st.stmt, c);
          table->fResults.append(n > 0 ? QVariant(QByteArray(static_cast<const char*>(p), n))
                                       : QVariant());
          break;
        }
        default: {
          const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st.stmt, c));
          const int n = sqlite3_column_bytes(st.stmt, c);
          table->fResults.append(QVariant(QString::fromUtf8(p, n)));
          break;
        }
      }
    }
    ++table->fRowCount;
  }
  table->fRow = 0;
  return table;
}

void TSQLiteDatabase::BeginTransaction() {
  if (fInTrans) throw ESQLiteException(QStringLiteral("Transaction already open"));
  // IMMEDIATE takes the write lock at once (waiting for it as long as the busy timeout
  // lets): two writers that both began by reading could otherwise only fail.
  ExecSQL(QStringLiteral("BEGIN IMMEDIATE TRANSACTION"));
  fInTrans = true;
}

void TSQLiteDatabase::Commit() {
  ExecSQL(QStringLiteral("COMMIT"));
  fInTrans = false;
}

void TSQLiteDatabase::Rollback() {
  try {
    ExecSQL(QStringLiteral("ROLLBACK"));
  } catch (const ESQLiteException&) {
    // After an I/O error or a full disk the engine rolls back by itself and then refuses
    // the ROLLBACK: with nothing open in the engine, ours is over too.
    if (!fInTrans || sqlite3_get_autocommit(fDB) == 0) throw;
  }
  fInTrans = false;
}

qint32 TSQLiteDatabase::RowsChanged() const {
  return qint32(sqlite3_changes(fDB));
}

qint64 TSQLiteDatabase::TotalChanges() const {
  return qint64(sqlite3_total_changes64(fDB));
}

bool TSQLiteTable::Next() {
  if (EOF_()) return false;
  ++fRow;
  return true;
}

int TSQLiteTable::FieldIndex(const QString& name) const {
  if (fColCount == 0 || fCols.isEmpty())
    throw ESQLiteException(QStringLiteral("Field ") + name +
                           QStringLiteral(" Not found. Empty dataset"));
  const int i = int(fCols.indexOf(name.toUpper()));
  if (i < 0) throw ESQLiteException(QStringLiteral("Field not found in dataset: ") + name);
  return i;
}

const QVariant& TSQLiteTable::Value(int index) const {
  if (EOF_()) throw ESQLiteException(QStringLiteral("Table is at End of File"));
  if (index < 0 || index >= fColCount)
    throw ESQLiteException(QStringLiteral("Field index out of range: ") + QString::number(index));
  return fResults[qsizetype(fRow) * fColCount + index];
}

QString TSQLiteTable::FieldAsString(int index) const {
  const QVariant& v = Value(index);
  if (!v.isValid()) return QString();
  if (v.typeId() == QMetaType::QByteArray) return QString::fromUtf8(v.toByteArray());
  return v.toString();
}

qint64 TSQLiteTable::FieldAsInteger(int index) const {
  const QVariant& v = Value(index);
  if (!v.isValid()) return 0;
  const int kind = fColTypes[index];
  if (v.typeId() == QMetaType::LongLong) return v.toLongLong();
  if (v.typeId() == QMetaType::Double && (kind == kFloat || kind == kNull))
    return qint64(v.toDouble());
  throw ESQLiteException(QStringLiteral("Not an integer or numeric field"));
}

}  // namespace krinu
