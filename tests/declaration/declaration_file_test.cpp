#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <tuple>
#include <vector>

#include "declaration/declaration_run.h"
#include "declaration_test_util.h"
#include "support/file_size_limit.h"
#include "support/test_env.h"
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace krinu {
namespace {

using test::Line;

// Checks the file with xmllint where it is installed; true when it is not.
bool WellFormed(const QString& path) {
  const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
  if (xmllint.isEmpty()) return true;
  QProcess process;
  process.start(xmllint, {QStringLiteral("--noout"), path});
  return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
         process.exitCode() == 0;
}

TDeclarationInput Input(const QString& fileName) {
  TDeclarationInput input;
  input.Taxpayer = test::Taxpayer();
  input.Administrator = test::Administrator();
  input.Params = test::Params(2024);
  input.Locale = QLocale(QLocale::Hungarian, QLocale::Hungary);
  input.XmlFileName = fileName;
  return input;
}

TAFAAdatList SampleLines() {
  const QDate d(2024, 2, 3);
  TAFAAdatList list{
      Line("10000000-1-11", "Első & \"Társa\" <Kft.>", d, "A'1", 10000, 2700),
      Line("10000000-1-11", "Első", d, "A'1", 500, 135),
      Line("20000000-2-22", QString::fromUtf16(u"Rossz \uFFFE\uFFFF \xD800 név"), d, "B", 1, 1),
      Line("30000000-3-33", "Negatív", d, "C", -5000, -1350),
  };
  for (int i = 0; i < 40; ++i)
    list.push_back(Line("40000000-4-44", "Sok", d, QString::number(i), 1000 * i, 270 * i));
  return list;
}

TEST(RunDeclaration, WritesAWellFormedFileAndLogsEveryStep) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("bevallás.xml"));
  TAFAAdatList list = SampleLines();
  const TDeclarationOutcome outcome = RunDeclaration(list, Input(path));
  ASSERT_TRUE(outcome.Written) << outcome.Written.Message().toStdString();
  const QStringList& log = outcome.Prepared.Log;
  ASSERT_GE(log.size(), 5);
  EXPECT_EQ(log.mid(log.size() - 5),
            (QStringList{"", "XML nyomtatvány elkészült", "Fájlba történő kiírás kezdődik",
                         "Fájlba történő kiírás végetért", "Fájlnév:" + path}));
  EXPECT_EQ(outcome.Prepared.PartnerList,
            (QStringList{"10000000-1-11", "20000000-2-22", "40000000-4-44"}));

  const QByteArray bytes = test::ReadFile(path);
  EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n  <nyomtatvanyok "));
  EXPECT_TRUE(bytes.endsWith("  </nyomtatvany>\r\n</nyomtatvanyok>\r\n"));
  EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
  EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));
  EXPECT_TRUE(bytes.contains("<megnevezes>Első &amp; &quot;Társa&quot; &lt;Kft.&gt;</megnevezes>"));
  EXPECT_TRUE(bytes.contains(">A'1</mezo>"));
  EXPECT_TRUE(bytes.contains("Rossz \xEF\xBF\xBD\xEF\xBF\xBD \xEF\xBF\xBD név"));
  EXPECT_FALSE(bytes.contains("Negatív"));
  EXPECT_TRUE(WellFormed(path));

  // the same lines once more: nothing new combined, the same bytes
  const TDeclarationOutcome again = RunDeclaration(list, Input(path));
  ASSERT_TRUE(again.Written);
  EXPECT_TRUE(again.Prepared.Log.contains("0 esetben történt bizonylat összesítés"));
  EXPECT_EQ(test::ReadFile(path), bytes);
}

TEST(RunDeclaration, WithoutIncludedLinesTheMainSheetIsWrittenAlone) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("ures.xml"));
  TAFAAdatList list{Line("30000000-3-33", "Negatív", QDate(2024, 2, 3), "C", -5000, -1350)};
  const TDeclarationOutcome outcome = RunDeclaration(list, Input(path));
  ASSERT_TRUE(outcome.Written);
  const QByteArray bytes = test::ReadFile(path);
  EXPECT_EQ(bytes.count("<nyomtatvany>"), 1);
  EXPECT_TRUE(bytes.contains("2465A"));
  EXPECT_TRUE(WellFormed(path));
}

TEST(WriteDeclarationFile, ReplacesAnExistingFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("out.xml"));
  test::WriteFile(path, QByteArray(100000, 'x'));
  EXPECT_EQ(test::ErrorOf(WriteDeclarationFile(path, "new\r\n")), std::nullopt);
  EXPECT_EQ(test::ReadFile(path), QByteArray("new\r\n"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.xml"});
}

TEST(WriteDeclarationFile, FailuresNameTheFileAndGiveTheReason) {
  QTemporaryDir dir;
  test::WriteFile(dir.filePath(QStringLiteral("plain")), "keep");
  const QString inFile = dir.filePath(QStringLiteral("plain/out.xml"));
  const QString missing = dir.filePath(QStringLiteral("missing/out.xml"));
  const QString folder = dir.filePath(QStringLiteral("folder"));
  ASSERT_TRUE(QDir().mkpath(folder + "/inside"));
  for (const QString& path : {inFile, missing, folder}) {
    const std::optional<QString> error = test::ErrorOf(WriteDeclarationFile(path, "data"));
    ASSERT_TRUE(error) << path.toStdString();
    const QString head =
        QStringLiteral("Nem sikerült kiírni a fájlt: ") + QDir::toNativeSeparators(path) + u'\n';
    EXPECT_TRUE(error->startsWith(head)) << error->toStdString();
    EXPECT_GT(error->size(), head.size()) << error->toStdString();
  }
  EXPECT_EQ(test::ReadFile(dir.filePath(QStringLiteral("plain"))), QByteArray("keep"));
  EXPECT_TRUE(QFileInfo(folder + "/inside").isDir());
  EXPECT_FALSE(QFileInfo::exists(missing));
}

// A write that fails part-way (here: the file-size limit, which binds root as well) must
// leave the previous file untouched and no temporary file behind.
TEST(WriteDeclarationFile, APartWayFailureKeepsThePreviousFile) {
  KRINU_NEEDS_FILE_SIZE_LIMIT();
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("out.xml"));
  test::WriteFile(path, "previous");
  std::optional<QString> error;
  {
    test::FileSizeLimit limit(64 * 1024);
    error = test::ErrorOf(WriteDeclarationFile(path, QByteArray(1 << 20, 'x')));
  }
  ASSERT_TRUE(error);
  EXPECT_TRUE(error->startsWith(QStringLiteral("Nem sikerült kiírni a fájlt: ") + path + u'\n'));
  EXPECT_EQ(test::ReadFile(path), QByteArray("previous"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.xml"});
}

#ifdef Q_OS_WIN
// A spreadsheet that has the previous return open keeps it from being replaced: the move
// fails with the system's reason, and the previous file and its folder stay as they were.
TEST(WriteDeclarationFile, APreviousFileHeldOpenStaysAsItWas) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("out.xml"));
  test::WriteFile(path, "previous");
  const HANDLE held =
      ::CreateFileW(QDir::toNativeSeparators(path).toStdWString().c_str(), GENERIC_READ,
                    FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const std::optional<QString> error = test::ErrorOf(WriteDeclarationFile(path, "new"));
  ::CloseHandle(held);
  ASSERT_TRUE(error);
  const QString head =
      QStringLiteral("Nem sikerült kiírni a fájlt: ") + QDir::toNativeSeparators(path) + u'\n';
  EXPECT_TRUE(error->startsWith(head)) << error->toStdString();
  EXPECT_GT(error->size(), head.size()) << "the system's reason follows";
  EXPECT_EQ(test::ReadFile(path), QByteArray("previous"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.xml"});
  EXPECT_EQ(test::ErrorOf(WriteDeclarationFile(path, "new")), std::nullopt);
  EXPECT_EQ(test::ReadFile(path), QByteArray("new"));
}
#endif

// Long enough for the progress to be asked inside every pass and between the document's
// writes: two-line invoices, now and then a credit line, dates running past the period.
TAFAAdatList LongList() {
  TAFAAdatList list;
  const QDate d(2024, 2, 3);
  for (int i = 0; i < 70000; ++i)
    list.push_back(Line(QStringLiteral("1%1-2-41").arg(i / 40, 7, 10, QChar(u'0')), "Partner",
                        d.addDays(i / 2 % 70), QString::number(i / 2), i % 13 ? 1000 : -2000, 270));
  return list;
}

bool SameLines(const TAFAAdatList& a, const TAFAAdatList& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
    return x.Adoszam == y.Adoszam && x.Megnevezes == y.Megnevezes && x.Datum == y.Datum &&
           x.BizSzam == y.BizSzam && x.AFAAlap == y.AFAAlap && x.AFA == y.AFA &&
           x.Status == y.Status && x.Enabled == y.Enabled;
  });
}

TEST(RunDeclaration, PhasesInOrderAndAStopAnywhereLeavesListAndFileAsTheyWere) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("ki.xml"));
  const TAFAAdatList original = LongList();
  TAFAAdatList list = original;
  // An uninterrupted run, its reports recorded: phase, done, total.
  std::vector<std::tuple<int, qint64, qint64>> reports;
  TRunProgress recording;
  recording.Preparation = [&](qint64 done, qint64 total) {
    reports.emplace_back(0, done, total);
    return true;
  };
  recording.Document = [&](qint64 done, qint64 total) {
    reports.emplace_back(1, done, total);
    return true;
  };
  recording.Write = [&](qint64 done, qint64 total) { reports.emplace_back(2, done, total); };
  const TDeclarationOutcome whole = RunDeclaration(list, Input(path), recording);
  ASSERT_TRUE(whole.Written);
  ASSERT_FALSE(whole.Cancelled());
  const QByteArray expected = test::ReadFile(path);
  ASSERT_TRUE(std::is_sorted(reports.begin(), reports.end(), [](const auto& a, const auto& b) {
    return std::get<0>(a) < std::get<0>(b) ||
           (std::get<0>(a) == std::get<0>(b) && std::get<1>(a) < std::get<1>(b));
  }));
  const auto asks = [&reports](int phase) {
    return std::count_if(reports.begin(), reports.end(),
                         [phase](const auto& r) { return std::get<0>(r) == phase; });
  };
  const qsizetype preparationAsks = asks(0);
  EXPECT_GE(preparationAsks, 4);  // within the passes, not only at their start
  EXPECT_GE(asks(1), 8);          // between the writes of some 9 megabytes
  EXPECT_EQ(asks(2), 1);
  for (const auto& [phase, done, total] : reports)
    if (phase < 2) {
      EXPECT_TRUE(done >= 0 && done < total) << phase << " " << done << "/" << total;
    }

  // Stopped at every ask of the preparation and at the first two of the document.
  test::WriteFile(path, "previous");
  for (int stopAt = 1; stopAt <= preparationAsks + 2; ++stopAt) {
    list = original;
    int asked = 0;
    bool written = false;
    TRunProgress stopping;
    stopping.Preparation = stopping.Document = [&](qint64, qint64) { return ++asked < stopAt; };
    stopping.Write = [&](qint64, qint64) { written = true; };
    const TDeclarationOutcome outcome = RunDeclaration(list, Input(path), stopping);
    EXPECT_TRUE(outcome.Cancelled()) << stopAt;
    EXPECT_TRUE(outcome.Prepared.Log.isEmpty());
    EXPECT_FALSE(written);
    EXPECT_TRUE(SameLines(list, original)) << stopAt;
    EXPECT_EQ(test::ReadFile(path), QByteArray("previous"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"ki.xml"});
  }
  // and what a stop left runs as the untouched list did
  const TDeclarationOutcome again = RunDeclaration(list, Input(path));
  EXPECT_EQ(again.Prepared.Log, whole.Prepared.Log);
  EXPECT_EQ(test::ReadFile(path), expected);
}

TEST(RunDeclaration, AFailedWriteEndsTheLogAtTheStartOfWriting) {
  QTemporaryDir dir;
  test::WriteFile(dir.filePath(QStringLiteral("plain")), "keep");
  TAFAAdatList list = SampleLines();
  const TDeclarationOutcome outcome =
      RunDeclaration(list, Input(dir.filePath(QStringLiteral("plain/out.xml"))));
  ASSERT_FALSE(outcome.Written);
  EXPECT_EQ(outcome.Prepared.Log.last(), QStringLiteral("Fájlba történő kiírás kezdődik"));
  EXPECT_EQ(outcome.Prepared.Counts.Combinations, 1);
  // the preparation's changes stay
  EXPECT_TRUE(std::any_of(list.begin(), list.end(), [](const TAFAAdat& line) {
    return line.Status == TAFAAdatStatus::stAFAComp;
  }));
}

}  // namespace
}  // namespace krinu
