#include "masterdata/sqlite_database.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "masterdata/master_database.h"

namespace krinu {
namespace {

class SQLiteLayer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    db = std::make_unique<TSQLiteDatabase>(dir.filePath(QStringLiteral("t.db")));
    db->ExecSQL(
        QStringLiteral("CREATE TABLE T ([K] VARCHAR (11) PRIMARY KEY NOT NULL, "
                       "[N] INTEGER, [F] REAL, [B] BLOB)"));
  }
  QTemporaryDir dir;
  std::unique_ptr<TSQLiteDatabase> db;
};

TEST_F(SQLiteLayer, FailureTextsCarryCodeNameSqlAndEngineMessage) {
  db->ExecSQL(QStringLiteral("INSERT INTO T (K) VALUES (\"a\")"));
  const QString sql = QStringLiteral("INSERT INTO T (K) VALUES (\"a\")");
  try {
    db->ExecSQL(sql);
    FAIL() << "duplicate key accepted";
  } catch (const ESQLiteException& e) {
    EXPECT_EQ(e.Message(),
              QStringLiteral("Error executing SQL statement.\rError [19]: Abort due to contraint "
                             "violation.\r\"INSERT INTO T (K) VALUES (\"a\")\": UNIQUE constraint "
                             "failed: T.K"));
  }
  // A bound value reads in the message as the statement would have written it.
  try {
    db->ExecSQL(QStringLiteral("INSERT INTO T (K, N) VALUES (?1, ?2)"), {QStringLiteral("a"), 7});
    FAIL() << "duplicate key accepted";
  } catch (const ESQLiteException& e) {
    EXPECT_TRUE(e.Message().contains(QStringLiteral("\"INSERT INTO T (K, N) VALUES (\"a\", 7)\"")))
        << e.Message().toStdString();
  }
  try {
    db->ExecSQL(QStringLiteral("SELEC nonsense"));
    FAIL();
  } catch (const ESQLiteException& e) {
    EXPECT_TRUE(e.Message().startsWith(
        QStringLiteral("Error executing SQL.\rError [1]: SQL error or missing database.\r\"SELEC "
                       "nonsense\": ")));
  }
  EXPECT_THROW(
      try {
        db->ExecSQL(QStringLiteral("  -- only a comment"));
      } catch (const ESQLiteException& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Could not prepare SQL statement"));
        throw;
      },
      ESQLiteException);
  // A statement that returns a row is not something ExecSQL runs.
  EXPECT_THROW(db->ExecSQL(QStringLiteral("SELECT 1")), ESQLiteException);

  EXPECT_EQ(SQLiteErrorCodeName(26), QStringLiteral("File opened that is not a database file"));
  EXPECT_EQ(SQLiteErrorCodeName(101), QStringLiteral("sqlite3_step() has finished executing"));
  EXPECT_EQ(SQLiteErrorCodeName(27), QStringLiteral("Unknown SQLite Error Code \"27\""));
}

TEST_F(SQLiteLayer, TransactionsAndRowsChanged) {
  db->BeginTransaction();
  try {
    db->BeginTransaction();
    FAIL();
  } catch (const ESQLiteException& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Transaction already open"));
  }
  EXPECT_TRUE(db->InTransaction());
  db->ExecSQL(QStringLiteral("INSERT INTO T (K) VALUES ('x')"));
  EXPECT_EQ(db->RowsChanged(), 1);
  db->Rollback();
  EXPECT_FALSE(db->InTransaction());
  EXPECT_EQ(QueryCount(*db, QStringLiteral("SELECT count(*) FROM T")).Value(), 0);

  // A failed commit (nothing open in the engine) keeps the flag, as the caller must see.
  db->ExecSQL(QStringLiteral("INSERT INTO T (K) VALUES ('y')"));
  db->BeginTransaction();
  db->ExecSQL(QStringLiteral("COMMIT"));
  EXPECT_THROW(db->Commit(), ESQLiteException);
  EXPECT_TRUE(db->InTransaction());
}

TEST_F(SQLiteLayer, RollbackAfterTheEngineEndedTheTransaction) {
  // As after an I/O error: the engine has rolled back on its own and refuses "ROLLBACK".
  db->BeginTransaction();
  db->ExecSQL(QStringLiteral("INSERT INTO T (K) VALUES ('x')"));
  db->ExecSQL(QStringLiteral("ROLLBACK"));
  EXPECT_NO_THROW(db->Rollback());
  EXPECT_FALSE(db->InTransaction());
  db->BeginTransaction();  // usable again
  db->ExecSQL(QStringLiteral("INSERT INTO T (K) VALUES ('y')"));
  db->Commit();
  EXPECT_EQ(QueryCount(*db, QStringLiteral("SELECT count(*) FROM T")).Value(), 1);
  // Without a transaction of ours, a refused ROLLBACK is still a failure.
  EXPECT_THROW(db->Rollback(), ESQLiteException);
}

TEST_F(SQLiteLayer, BufferedResultsAndFieldAccess) {
  db->ExecSQL(QStringLiteral("INSERT INTO T VALUES ('0012', -5, 2.5, x'0102')"));
  db->ExecSQL(QStringLiteral("INSERT INTO T VALUES ('b', NULL, NULL, NULL)"));
  auto t = db->GetTable(QStringLiteral("SELECT * FROM T ORDER BY K"));
  ASSERT_EQ(t->Count(), 2);
  const int k = t->FieldIndex(QStringLiteral("k"));
  const int n = t->FieldIndex(QStringLiteral("N"));
  EXPECT_EQ(t->FieldAsString(k), QStringLiteral("0012"));  // leading zeros kept
  EXPECT_EQ(t->FieldAsString(n), QStringLiteral("-5"));
  EXPECT_EQ(t->FieldAsInteger(n), -5);
  EXPECT_THROW(t->FieldAsInteger(k), ESQLiteException);
  try {
    t->FieldIndex(QStringLiteral("Nope"));
    FAIL();
  } catch (const ESQLiteException& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Field not found in dataset: Nope"));
  }
  EXPECT_TRUE(t->Next());
  EXPECT_EQ(t->FieldAsString(n), QString());  // NULL reads as empty / 0
  EXPECT_EQ(t->FieldAsInteger(n), 0);
  EXPECT_TRUE(t->Next());
  EXPECT_TRUE(t->EOF_());
  EXPECT_FALSE(t->Next());
  try {
    t->FieldAsString(k);
    FAIL();
  } catch (const ESQLiteException& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Table is at End of File"));
  }

  auto empty = db->GetTable(QStringLiteral("SELECT * FROM T WHERE K = 'none'"));
  EXPECT_EQ(empty->Count(), 0);
  EXPECT_TRUE(empty->EOF_());
  try {
    empty->FieldIndex(QStringLiteral("K"));
    FAIL();
  } catch (const ESQLiteException& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Field K Not found. Empty dataset"));
  }
}

TEST_F(SQLiteLayer, QueryCountFailsWithTheEnginesMessage) {
  EXPECT_EQ(QueryCount(*db, QStringLiteral("Select count(*) from T")).Value(), 0);
  const TResult<qint32> misspelt = QueryCount(*db, QStringLiteral("Select count(*) fro T"));
  ASSERT_FALSE(misspelt);
  EXPECT_EQ(misspelt.Failure().Kind, TFailureKind::Database);
  EXPECT_TRUE(misspelt.Message().startsWith(QStringLiteral("Error executing SQL.")));
  EXPECT_FALSE(QueryCount(*db, QStringLiteral("Select count(*) from Missing")));
  EXPECT_FALSE(QueryCount(*db, QStringLiteral("Select K from T")));  // no row
}

TEST(SQLiteOpen, FailureNamesThePath) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("no/such/folder/x.db"));
  try {
    TSQLiteDatabase db(path);
    FAIL();
  } catch (const ESQLiteException& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Failed to open database \"") + path +
                               QStringLiteral("\" : unable to open database file"));
  }
}

}  // namespace
}  // namespace krinu
