#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/environment.h"
#include "cli/cli.h"
#include "support/file_size_limit.h"
#include "support/golden.h"
#include "support/test_env.h"

namespace krinu::cli {
namespace {

struct CliRun {
  int Status = -1;
  QString Out, Err;
};

class LoadCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qputenv("KRINU_ANSI_CODEPAGE", "1250");
    qputenv(kUserProfileVariable, root.filePath(QStringLiteral("home")).toUtf8());
    QDir().mkpath(root.filePath(QStringLiteral("home")));
  }
  // The build's program folder: its krinu.ini assigns the columns of the usual header texts.
  CliRun Run(const QStringList& args) {
    CliRun r;
    QTextStream out(&r.Out), err(&r.Err);
    r.Status = RunCli(args, test::BinDir() + QStringLiteral("krinu-cli"), out, err);
    out.flush();
    err.flush();
    return r;
  }
  QString Write(const QString& name, const QByteArray& bytes) {
    const QString path = root.filePath(name);
    test::WriteFile(path, bytes);
    return path;
  }
  QTemporaryDir root;
};

TEST_F(LoadCommandTest, OverridesAndStatuses) {
  // Ten good lines fill the preview (the check looks at them only); two bad ones follow.
  const QString in = test::TestDataPath(QStringLiteral("load-skipped-rows/input.csv"));
  // a wrong date format given by hand: the check fails, nothing is loaded
  CliRun r = Run(
      {QStringLiteral("load"), in, QStringLiteral("--date-format"), QStringLiteral("dd.mm.yyyy")});
  EXPECT_EQ(r.Status, kFailed);
  EXPECT_TRUE(r.Err.contains(
      QStringLiteral("error: Az aktuális adat-összerendelés alapján végzett tartalom-ellenőrzés "
                     "megbukott")));
  EXPECT_TRUE(r.Out.endsWith(QStringLiteral("Betöltött adatsorok: ?\nKihagyott adatsorok: ?\n")));
  EXPECT_TRUE(r.Out.contains(QStringLiteral("Dátum formátum: dd.mm.yyyy\n")));

  // the columns set by hand: name and invoice number swapped still loads
  r = Run({QStringLiteral("load"), in, QStringLiteral("--columns"), QStringLiteral("1,4,3,2,5,6"),
           QStringLiteral("--decimal"), QStringLiteral("comma")});
  EXPECT_EQ(r.Status, kOk);
  EXPECT_TRUE(r.Out.contains(QStringLiteral("Partner megnevezése: 4\n")));

  // a field number beyond the file's fields is refused, nothing is pressed
  r = Run({QStringLiteral("load"), in, QStringLiteral("--columns"), QStringLiteral("1,2,3,4,5,9")});
  EXPECT_EQ(r.Status, kFailed);

  // malformed values are usage errors
  for (const QStringList& bad :
       {QStringList{QStringLiteral("--columns"), QStringLiteral("1,2")},
        QStringList{QStringLiteral("--decimal"), QStringLiteral("comma2")},
        QStringList{QStringLiteral("--separator"), QStringLiteral(";;")},
        QStringList{QStringLiteral("--header"), QStringLiteral("--no-header")}})
    EXPECT_EQ(Run(QStringList{QStringLiteral("load"), in} + bad).Status, kUsage)
        << bad.join(QLatin1Char(' ')).toStdString();

  // a refused file: status 1, the summary as the window shows it
  r = Run({QStringLiteral("load"), Write(QStringLiteral("empty.csv"), QByteArray())});
  EXPECT_EQ(r.Status, kFailed);
  EXPECT_TRUE(r.Err.contains(QStringLiteral("error: Az input fájl üres, jelöljön ki egy másikat")));
  EXPECT_TRUE(r.Out.startsWith(QStringLiteral("Kód tábla: ")));
}

TEST_F(LoadCommandTest, AnExplicitDataFolderThatCannotBeUsedIsAnError) {
  // a folder below a regular file can never be made
  const QString blocker = Write(QStringLiteral("plain-file"), "x");
  const QString dataDir = blocker + QStringLiteral("/data");
  const CliRun r = Run(
      {QStringLiteral("--data-dir"), dataDir, QStringLiteral("taxpayer"), QStringLiteral("list")});
  EXPECT_EQ(r.Status, kFailed);
  EXPECT_TRUE(r.Err.startsWith(
      QStringLiteral("error: Probléma merült fel a program inicializálása közben: a megadott adat "
                     "könyvtár (")))
      << r.Err.toStdString();
  EXPECT_TRUE(r.Out.isEmpty());
  // nothing went into the per-user folder or beside the program instead
  EXPECT_FALSE(QFileInfo::exists(root.filePath(QStringLiteral("home/.Krinu"))));
  EXPECT_FALSE(QFileInfo::exists(test::BinDir() + QStringLiteral("Pelodin.db")));
}

TEST_F(LoadCommandTest, LogLinesAndBoxesComeInTheOrderTheyHappened) {
  KRINU_NEEDS_FILE_SIZE_LIMIT();
  const QString dataDir = root.filePath(QStringLiteral("data"));
  QDir().mkpath(dataDir);
  CliRun r;
  {
    test::FileSizeLimit full(2048);  // the new database cannot be written whole
    r = Run({QStringLiteral("--data-dir"), dataDir, QStringLiteral("taxpayer"),
             QStringLiteral("list")});
  }
  EXPECT_EQ(r.Status, kFailed);
  const QString db = QDir(dataDir).filePath(QStringLiteral("Pelodin.db"));
  EXPECT_TRUE(r.Err.startsWith(QStringLiteral("log: Az programhoz tartozó adatbázis (") + db +
                               QStringLiteral(") nem létezik\nlog: Új adatbázis kerül "
                                              "létrehozásra\nerror: Probléma merült fel")))
      << r.Err.toStdString();
  EXPECT_FALSE(QFileInfo::exists(db));
}

}  // namespace
}  // namespace krinu::cli
