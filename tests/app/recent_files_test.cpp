// What the window remembers between runs: the recent input files and the dialog folders.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/file_names.h"
#include "app/recent_files.h"
#include "common/clock.h"
#include "support/file_size_limit.h"
#include "support/scripted_ui.h"
#include "support/test_env.h"
#include "support/test_main_form.h"

namespace krinu {
namespace {

QString ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

TEST(RecentFiles, NewestFirstEachPathOnceAtMostFive) {
  TRecentFiles r;
  for (const char* f : {"/a/1.csv", "/a/2.csv", "/a/3.csv", "/a/4.csv", "/a/5.csv"})
    r.Add(QString::fromLatin1(f));
  r.Add(QStringLiteral("/a/./2.csv"));  // the same file by another spelling moves up
  EXPECT_EQ(r.Files, (QStringList{"/a/./2.csv", "/a/5.csv", "/a/4.csv", "/a/3.csv", "/a/1.csv"}));
  r.Add(QStringLiteral("/a/6.csv"));  // the oldest falls off
  EXPECT_EQ(r.Files, (QStringList{"/a/6.csv", "/a/./2.csv", "/a/5.csv", "/a/4.csv", "/a/3.csv"}));
  EXPECT_TRUE(r.Remove(QStringLiteral("/a/b/../4.csv")));
  EXPECT_FALSE(r.Remove(QStringLiteral("/a/4.csv")));
  EXPECT_EQ(r.Files.size(), 4);
#ifdef Q_OS_WIN
  EXPECT_TRUE(
      SameFile(QStringLiteral("C:\\Adat\\Szamlak.csv"), QStringLiteral("c:/adat/szamlak.CSV")));
#else
  EXPECT_FALSE(SameFile(QStringLiteral("/adat/Szamlak.csv"), QStringLiteral("/adat/szamlak.csv")));
#endif
}

TEST(RecentFiles, AMissingOrDamagedFileReadsAsEmpty) {
  QTemporaryDir dir;
  const QString name = RecentFilesName(dir.path() + QLatin1Char('/'));
  EXPECT_EQ(LoadRecentFiles(name), TRecentFiles{});
  for (const QByteArray& damaged :
       {QByteArray("{\"files\": [\"/a/1.csv\""), QByteArray("\xff\xfe\x00garbage", 10),
        QByteArray("[\"/a/1.csv\"]"), QByteArray("{\"files\": 7, \"inputFolder\": []}")}) {
    test::WriteFile(name, damaged);
    EXPECT_EQ(LoadRecentFiles(name), TRecentFiles{}) << damaged.toStdString();
  }
  // What is usable in an edited file is kept: wrong entries, repeats and surplus are not.
  test::WriteFile(name,
                  "{\"files\": [\"/a/1.csv\", 3, \"\", \"/a/1.csv\", \"/a/2\\u0007.csv\", "
                  "\"/a/2.csv\", \"/a/3.csv\", \"/a/4.csv\", \"/a/5.csv\", \"/a/6.csv\"],"
                  " \"inputFolder\": \"/a\", \"xmlFolder\": 12}");
  const TRecentFiles r = LoadRecentFiles(name);
  EXPECT_EQ(r.Files, (QStringList{"/a/1.csv", "/a/2.csv", "/a/3.csv", "/a/4.csv", "/a/5.csv"}));
  EXPECT_EQ(r.InputDir, QStringLiteral("/a"));
  EXPECT_TRUE(r.XmlDir.isEmpty());
}

TEST(RecentFiles, AFailedWriteKeepsThePreviousFile) {
  KRINU_NEEDS_FILE_SIZE_LIMIT();
  QTemporaryDir dir;
  const QString name = RecentFilesName(dir.path() + QLatin1Char('/'));
  TRecentFiles r;
  r.Add(QStringLiteral("/a/1.csv"));
  ASSERT_FALSE(SaveRecentFiles(name, r));
  const QString before = ReadAll(name);
  r.Add(QString(4000, QLatin1Char('x')));
  {
    test::FileSizeLimit full(before.size() + 10);
    EXPECT_TRUE(SaveRecentFiles(name, r).has_value());
  }
  EXPECT_EQ(ReadAll(name), before);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"legutobbi.json"});
}

class RememberingFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Clock::SetTodayForTesting([] { return QDate(2026, 3, 15); });
    QDir().mkpath(root.filePath(QStringLiteral("bin")));
    QDir().mkpath(root.filePath(QStringLiteral("home")));
    QDir().mkpath(root.filePath(QStringLiteral("exports")));
    env.ProgramPath = root.filePath(QStringLiteral("bin/krinu"));
    env.UserProfile = root.filePath(QStringLiteral("home"));
  }
  void TearDown() override { Clock::SetTodayForTesting({}); }
  std::unique_ptr<test::TestMainForm> Start() {
    auto form = std::make_unique<test::TestMainForm>(ui, env);
    form->RememberRecentFiles = true;
    form->FormCreate();
    return form;
  }
  QString Export(const char* name, const QByteArray& bytes) {
    const QString path = root.filePath(QStringLiteral("exports/") + QLatin1String(name));
    test::WriteFile(path, bytes);
    return path;
  }

  QTemporaryDir root;
  AppEnvironment env;
  test::ScriptedUserInterface ui;
};

TEST_F(RememberingFormTest, TheNextStartOffersTheFilesAndFoldersUsedLast) {
  const QString good = Export("jo.csv", "Adoszam;Nev\n12345678-1-23;Alfa Kft\n");
  const QString empty = Export("ures.csv", "");
  {
    auto form = Start();
    form->OpenInputFile(good);
    form->OpenInputFile(empty);  // refused: its folder counts, the file is not listed
    ui.SaveFileAnswers.push_back(root.filePath(QStringLiteral("home/bevallas")));
    form->XMLFileSelectBtnClick();
  }
  ui.Clear();
  ui.DialogSpecs.clear();
  auto form = Start();
  EXPECT_EQ(form->Recent().Files, QStringList{QDir::toNativeSeparators(good)});
  ui.OpenFileAnswers.push_back(std::nullopt);
  form->SelectFileBtnClick();
  ui.SaveFileAnswers.push_back(std::nullopt);
  form->XMLFileSelectBtnClick();
  ASSERT_EQ(ui.DialogSpecs.size(), 2u);
  EXPECT_EQ(ui.DialogSpecs[0].FileName, QDir::toNativeSeparators(root.filePath("exports")));
  EXPECT_EQ(ui.DialogSpecs[1].FileName, QDir::toNativeSeparators(root.filePath("home")));
}

TEST_F(RememberingFormTest, UntilAFolderIsRememberedTheDialogsOpenInTheDocuments) {
  env.DocumentsDir = root.filePath(QStringLiteral("home/Dokumentumok"));
  {
    auto form = Start();
    ui.OpenFileAnswers.push_back(std::nullopt);
    form->SelectFileBtnClick();  // no such folder yet: the dialog's own choice
    QDir().mkpath(env.DocumentsDir);
  }
  auto form = Start();
  ui.OpenFileAnswers.push_back(std::nullopt);
  form->SelectFileBtnClick();
  ui.SaveFileAnswers.push_back(std::nullopt);
  form->XMLFileSelectBtnClick();
  ASSERT_EQ(ui.DialogSpecs.size(), 3u);
  EXPECT_TRUE(ui.DialogSpecs[0].FileName.isEmpty());
  EXPECT_EQ(ui.DialogSpecs[1].FileName, QDir::toNativeSeparators(env.DocumentsDir));
  EXPECT_EQ(ui.DialogSpecs[2].FileName, QDir::toNativeSeparators(env.DocumentsDir));
}

TEST_F(RememberingFormTest, AListedFileThatIsGoneIsRefusedAndLeavesTheList) {
  const QString good = Export("jo.csv", "Adoszam;Nev\n12345678-1-23;Alfa Kft\n");
  auto form = Start();
  form->OpenInputFile(good);
  ASSERT_EQ(form->Recent().Files.size(), 1);
  QFile::remove(good);
  ui.Clear();
  form->OpenInputFile(form->Recent().Files.front());
  ASSERT_EQ(ui.Messages.size(), 1u);
  EXPECT_EQ(ui.Messages[0].Kind, "error");
  EXPECT_TRUE(ui.Messages[0].Text.startsWith(
      QStringLiteral("A kijelölt fájl nem létezik, vagy nem érhető el:\n")));
  EXPECT_TRUE(form->Recent().Files.isEmpty());
  EXPECT_TRUE(Start()->Recent().Files.isEmpty());  // and so it stays at the next start
}

}  // namespace
}  // namespace krinu
