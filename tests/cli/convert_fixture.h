#pragma once
// krinu-cli run in-process, as a bookkeeper runs it: a program folder with the shipped
// settings file, a home folder of its own (so a new database with its sample records), a
// pinned today, and the output files named relative to the current folder so that the run
// log, which names the file, reads the same on every machine.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include "app/environment.h"
#include "cli/cli.h"
#include "common/clock.h"
#include "support/test_env.h"
#include "support/xml_lint.h"

namespace krinu::cli {

struct CliRun {
  int Status = -1;
  QString Out, Err;
};

class ConvertTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root.isValid());
    programDir = root.filePath(QStringLiteral("bin/"));
    QDir().mkpath(programDir);
    ASSERT_TRUE(QFile::copy(test::BinDir() + QStringLiteral("krinu.ini"),
                            programDir + QStringLiteral("krinu.ini")));
    qputenv(kUserProfileVariable, root.filePath(QStringLiteral("home")).toUtf8());
    QDir().mkpath(root.filePath(QStringLiteral("home")));
    qputenv("KRINU_ANSI_CODEPAGE", "1250");
    Clock::SetTodayForTesting([] { return QDate(2024, 12, 5); });
    previousDir = QDir::currentPath();
    QDir::setCurrent(root.path());
  }
  void TearDown() override {
    QDir::setCurrent(previousDir);
    Clock::SetTodayForTesting({});
  }

  CliRun Run(const QStringList& args) {
    CliRun r;
    QTextStream out(&r.Out), err(&r.Err);
    r.Status = RunCli(args, programDir + QStringLiteral("krinu-cli"), out, err);
    out.flush();
    err.flush();
    return r;
  }
  // convert of the bundled example with the given options.
  CliRun Convert(const QStringList& options) {
    return Run(QStringList{QStringLiteral("convert"), Example()} + options);
  }
  static QString Example() { return QStringLiteral(KRINU_EXAMPLES "/szamlak.csv"); }
  QString Path(const QString& name) const { return root.filePath(name); }
  QByteArray Read(const QString& name) const { return test::ReadFile(Path(name)); }

  static QString XmlLint(const QString& path) { return test::XmlLint(path); }

  QTemporaryDir root;
  QString programDir, previousDir;
};

// The run log's dates are in the user's short date format; these runs are a Hungarian
// user's. Set before anything asks Qt for the system locale.
inline const bool kHungarianUser = [] {
  qputenv("LC_ALL", "hu_HU.UTF-8");
  return true;
}();

}  // namespace krinu::cli
