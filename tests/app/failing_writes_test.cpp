// Writes that the file system or another process makes fail: the message names the real
// cause, nothing half-done stays behind, and the connection goes on working afterwards.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <QFileInfo>
#ifndef Q_OS_WIN
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "app/adozok_torzs_form.h"
#include "masterdata/registers.h"
#include "register_fixture.h"
#include "support/file_size_limit.h"

namespace krinu {
namespace {

using test::FileSizeLimit;
using test::Message;

#ifdef Q_OS_WIN
// A second connection with a read transaction open on the database: Windows locks a file
// range per handle, so its shared lock keeps the form's connection from committing as
// another program's would.
class ReaderProcess {
 public:
  explicit ReaderProcess(const QString& path) {
    sqlite3_stmt* st = nullptr;
    const bool ok =
        sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr) ==
            SQLITE_OK &&
        sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db_, "select count(*) from Adozok", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW;
    sqlite3_finalize(st);
    EXPECT_TRUE(ok) << "the reader could not start its read transaction";
  }
  void Release() {
    if (!db_) return;
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db_);
    db_ = nullptr;
  }
  ~ReaderProcess() { Release(); }
  ReaderProcess(const ReaderProcess&) = delete;
  ReaderProcess& operator=(const ReaderProcess&) = delete;

 private:
  sqlite3* db_ = nullptr;
};
#else
// Another process with a read transaction open on the database: its shared lock keeps a
// writer of this process from committing. The child uses the engine's C API only and ends
// with _exit, so nothing of this process runs twice.
class ReaderProcess {
 public:
  explicit ReaderProcess(const QString& path) {
    int ready[2], release[2];
    if (::pipe(ready) != 0 || ::pipe(release) != 0) {
      ADD_FAILURE() << "pipe";
      return;
    }
    const QByteArray file = path.toUtf8();
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(ready[0]);
      ::close(release[1]);
      sqlite3* db = nullptr;
      sqlite3_stmt* st = nullptr;
      char ok = 0;
      if (sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
          sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK &&
          sqlite3_prepare_v2(db, "select count(*) from Adozok", -1, &st, nullptr) == SQLITE_OK &&
          sqlite3_step(st) == SQLITE_ROW)
        ok = 1;
      sqlite3_finalize(st);
      if (::write(ready[1], &ok, 1) != 1) ::_exit(2);
      char c;
      while (::read(release[0], &c, 1) > 0) {
      }
      sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
      sqlite3_close(db);
      ::_exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);
    release_ = release[1];
    char ok = 0;
    EXPECT_EQ(::read(ready[0], &ok, 1), 1);
    EXPECT_EQ(ok, 1) << "the reader could not start its read transaction";
    ::close(ready[0]);
  }
  // Ends the read transaction and the process.
  void Release() {
    if (release_ < 0) return;
    ::close(release_);
    release_ = -1;
    int status = 0;
    EXPECT_EQ(::waitpid(pid_, &status, 0), pid_);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  ~ReaderProcess() { Release(); }
  ReaderProcess(const ReaderProcess&) = delete;
  ReaderProcess& operator=(const ReaderProcess&) = delete;

 private:
  pid_t pid_ = -1;
  int release_ = -1;
};
#endif

class FailingWrites : public RegisterFixture {
 protected:
  void SetUp() override {
    RegisterFixture::SetUp();
    form = std::make_unique<TAdozokTorzsForm>(session, ui);
    form->FormShow();
  }
  void Fill(const QString& adoszam, const QString& nev) {
    form->State.AdoszamEd.Text = adoszam;
    form->State.NevEd.Text = nev;
    form->State.BankEd.Text = QStringLiteral("Bk");
    form->State.SzamlaEd.Text = QStringLiteral("1111111122222222");
  }
  std::unique_ptr<TAdozokTorzsForm> form;
};

TEST_F(FailingWrites, StatementThatCannotWriteItsJournal) {
  KRINU_NEEDS_FILE_SIZE_LIMIT();
  {
    // Room for the database as it is, none for the rollback journal the insert needs: the
    // engine fails the statement and rolls the transaction back by itself.
    FileSizeLimit limit(1024);
    Fill(QStringLiteral("55555555555"), QStringLiteral("Gamma"));
    form->UjBTnClick();
  }
  ASSERT_FALSE(ui.Messages.empty());
  const Message failed = ui.Messages.back();
  EXPECT_EQ(failed.Kind, QStringLiteral("error"));
  EXPECT_TRUE(failed.Text.startsWith(QStringLiteral(
      "Új adózó felvétele meghiúsult, hibaüzenet: Error executing SQL statement.\rError [10]: "
      "Some kind of disk I/O error occurred.")))
      << failed.Text.toStdString();
  EXPECT_FALSE(db->InTransaction());
  EXPECT_EQ(form->State.NevEd.Text, QStringLiteral("Gamma"));

  // With room again the same connection writes as before.
  form->UjBTnClick();
  EXPECT_EQ(ui.Messages.back(), (Message{"information", "Új adózó felvétele megtörtént"}));
  EXPECT_EQ(Count(QStringLiteral("select count(*) from Adozok")), 2);
}

TEST_F(FailingWrites, CommitThatCannotGrowTheFile) {
  KRINU_NEEDS_FILE_SIZE_LIMIT();
  // The database may not grow: inserts go on until one needs a new page, whose commit
  // fails; the engine rolls that transaction back by itself.
  const qint64 size = QFileInfo(DbPath()).size();
  Trrc failed;
  int written = 0;
  {
    FileSizeLimit limit(size);
    for (int i = 0; i < 500 && failed.Ok(); ++i) {
      const TAdozoAdat rec{QStringLiteral("1%1").arg(i, 10, 10, QChar(u'0')), QString(80, u'N'),
                           QString(80, u'B'), QStringLiteral("11111111"),
                           QStringLiteral("2222222233333333")};
      failed = InsertAdozo(*db, rec).Value();
      if (failed.Ok()) ++written;
    }
  }
  ASSERT_EQ(failed.rc, 1) << "the file never needed to grow";
  EXPECT_TRUE(
      failed.Note.startsWith(QStringLiteral("Error executing SQL statement.\rError [10]: "
                                            "Some kind of disk I/O error occurred.")))
      << failed.Note.toStdString();
  EXPECT_FALSE(db->InTransaction());
  EXPECT_EQ(Count(QStringLiteral("select count(*) from Adozok")), 1 + written);

  Fill(QStringLiteral("55555555555"), QStringLiteral("Gamma"));
  form->UjBTnClick();
  EXPECT_EQ(ui.Messages.back(), (Message{"information", "Új adózó felvétele megtörtént"}));
  EXPECT_EQ(Count(QStringLiteral("select count(*) from Adozok")), 2 + written);
}

TEST_F(FailingWrites, DeleteWhoseCommitAnotherProcessBlocks) {
  ReaderProcess reader(DbPath());
  ui.ConfirmAnswers = {true};
  form->State.AdozokLbx.ItemIndex = 0;
  form->AdozokLbxDblClick();
  form->TorlesBtnClick();
  ASSERT_EQ(ui.Messages.size(), 2u);
  EXPECT_EQ(ui.Messages[0].Kind, QStringLiteral("confirmation"));
  EXPECT_EQ(ui.Messages[1],
            (Message{"error", "Probléma merült fel a törlés során: " + BusyMessage()}));
  EXPECT_FALSE(db->InTransaction());
  // Nothing changed: the row, the list, its mark and the edits stay.
  EXPECT_EQ(form->State.AdozokLbx.Items,
            QStringList{QStringLiteral(">>19345678910 / Zuhanó Részvény Kft")});
  EXPECT_EQ(form->State.AdoszamEd.Text, QStringLiteral("19345678910"));
  reader.Release();
  EXPECT_EQ(Count(QStringLiteral("select count(*) from Adozok")), 1);

  ui.ConfirmAnswers = {true};
  form->TorlesBtnClick();
  EXPECT_EQ(ui.Messages.back(), (Message{"information", "Törlés végrehajtva"}));
  EXPECT_EQ(Count(QStringLiteral("select count(*) from Adozok")), 0);
  EXPECT_TRUE(form->State.AdozokLbx.Items.isEmpty());
}

}  // namespace
}  // namespace krinu
