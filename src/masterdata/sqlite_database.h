#pragma once
// A thin access layer over the SQLite C API: one connection, fully buffered query results
// and one exception type that carries the message texts the program shows.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>
#include <stdexcept>

struct sqlite3;

namespace krinu {

class ESQLiteException : public std::runtime_error {
 public:
  explicit ESQLiteException(const QString& message)
      : std::runtime_error(message.toStdString()), message_(message) {}
  const QString& Message() const { return message_; }

 private:
  QString message_;
};

class TSQLiteTable;

// How long a statement waits for another program's lock before it fails.
inline constexpr int kBusyTimeoutMs = 5000;

// A statement parameter: ?1, ?2 … in the SQL text are bound in order.
using SqlParams = QVector<QVariant>;

class TSQLiteDatabase {
 public:
  // Opens (the engine creates an empty file when none exists).
  explicit TSQLiteDatabase(const QString& fileName);
  ~TSQLiteDatabase();  // rolls back an open transaction, then closes
  TSQLiteDatabase(const TSQLiteDatabase&) = delete;
  TSQLiteDatabase& operator=(const TSQLiteDatabase&) = delete;

  void ExecSQL(const QString& sql, const SqlParams& params = {});
  std::unique_ptr<TSQLiteTable> GetTable(const QString& sql, const SqlParams& params = {});
  void BeginTransaction();
  void Commit();    // a failed commit leaves the transaction marked open
  void Rollback();  // one that the engine already rolled back by itself counts as ended
  qint32 RowsChanged() const;
  // How long a statement waits for another program's lock (kBusyTimeoutMs from the start).
  void SetBusyTimeout(int milliseconds);
  // Every row changed on this connection since it opened, by triggers and foreign-key
  // actions too.
  qint64 TotalChanges() const;
  bool InTransaction() const { return fInTrans; }
  const QString& FileName() const { return fileName_; }

 private:
  sqlite3* fDB = nullptr;
  bool fInTrans = false;
  QString fileName_;
  friend class TSQLiteTable;
};

class TSQLiteTable {
 public:
  int Count() const { return fRowCount; }
  bool EOF_() const { return fRow >= fRowCount; }
  bool Next();
  int FieldIndex(const QString& name) const;
  QString FieldAsString(int index) const;
  qint64 FieldAsInteger(int index) const;
  int ColCount() const { return fColCount; }

 private:
  friend class TSQLiteDatabase;
  TSQLiteTable() = default;
  const QVariant& Value(int index) const;  // the current row's value; fails at EOF
  QVector<QVariant> fResults;              // invalid QVariant = absent (NULL)
  qint32 fRowCount = 0;
  qint32 fColCount = 0;
  QStringList fCols;
  QVector<int> fColTypes;
  qint32 fRow = 0;
};

// The name the engine's error codes are shown with ("Abort due to contraint violation", …).
QString SQLiteErrorCodeName(int code);

}  // namespace krinu
