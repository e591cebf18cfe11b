#include "content/skipped_report.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "support/file_size_limit.h"
#include "support/test_env.h"

namespace krinu {
namespace {

TEST(SkippedReport, CsvWithNumbersReasonsAndQuotedFields) {
  const std::vector<TSkippedRecord> skipped{
      {3, {"ÁFA > nettó/2"}, {"12345678", "ACME; Kft", "2020.01.15", "S-1", "1000", "900"}},
      {12, {"Adószám", "Dátum"}, {"HU1", "\"Idéző\" Bt", "sor\r\ntörés", "", "1", "0"}},
  };
  const QByteArray csv = SkippedReportCsv(skipped);
  EXPECT_EQ(csv, QByteArray("\xEF\xBB\xBF") +
                     QStringLiteral(
                         "Sorszám;Ok;1. mező;2. mező;3. mező;4. mező;5. mező;6. mező\r\n"
                         "3;ÁFA > nettó/2;12345678;\"ACME; Kft\";2020.01.15;S-1;1000;900\r\n"
                         "12;Adószám, Dátum;HU1;\"\"\"Idéző\"\" Bt\";\"sor\r\ntörés\";;1;0\r\n")
                         .toUtf8());
  EXPECT_EQ(SkippedReportCsv({}), QByteArray("\xEF\xBB\xBF") + "Sorszám;Ok\r\n");
}

TEST(SkippedReport, RowsTextKeepsNoncharactersAndReplacesLoneSurrogates) {
  const QString odd = QString::fromUtf16(u"a\uFFFEb") + QChar(0xD800) + u'c';
  EXPECT_EQ(SkippedRowsText({"x;y", odd, ""}), QByteArray("x;y\na\xEF\xBF\xBE"
                                                          "b\xEF\xBF\xBD"
                                                          "c\n\n"));
  EXPECT_TRUE(SkippedRowsText({}).isEmpty());
}

TEST(SkippedReport, WritesAtomicallyAndNamesTheFileOnFailure) {
  QTemporaryDir dir;
  const QString file = dir.filePath("kihagyott.csv");
  const std::vector<TSkippedRecord> skipped{{2, {"Dátum"}, {"a", "b"}}};
  ASSERT_FALSE(test::ErrorOf(WriteSkippedReport(file, skipped)));
  EXPECT_EQ(test::ReadFile(file), SkippedReportCsv(skipped));
  ASSERT_FALSE(test::ErrorOf(WriteSkippedRows(file, {"r"})));
  EXPECT_EQ(test::ReadFile(file), "r\n");

  // A folder of that name cannot be replaced: it stays, and the message names it.
  const QString folder = dir.filePath("mappa");
  ASSERT_TRUE(QDir().mkpath(folder + "/benne"));
  const std::optional<QString> error = test::ErrorOf(WriteSkippedReport(folder, skipped));
  ASSERT_TRUE(error);
  EXPECT_TRUE(error->contains(folder)) << error->toStdString();
  EXPECT_TRUE(QFileInfo(folder + "/benne").isDir());

  const std::optional<QString> noFolder =
      test::ErrorOf(WriteSkippedRows(file + "/sub/x.txt", {"r"}));
  ASSERT_TRUE(noFolder);
  EXPECT_TRUE(noFolder->contains("x.txt"));
  EXPECT_EQ(test::ReadFile(file), "r\n");
}

// A small file is the one a full disk cut off unnoticed: its bytes waited in a buffer whose
// failed flush the commit did not report.
TEST(SkippedReport, AFullDiskFailsTheWriteAndKeepsTheOldFile) {
  KRINU_NEEDS_FILE_SIZE_LIMIT();
  QTemporaryDir dir;
  const QString file = dir.filePath("kihagyott.txt");
  ASSERT_FALSE(test::ErrorOf(WriteSkippedRows(file, {"r"})));
  std::optional<QString> error;
  {
    test::FileSizeLimit full(64);
    error = test::ErrorOf(WriteSkippedRows(file, {QString(400, u'x')}));
  }
  ASSERT_TRUE(error);
  EXPECT_TRUE(error->contains(file)) << error->toStdString();
  EXPECT_EQ(test::ReadFile(file), "r\n");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"kihagyott.txt"});
}

}  // namespace
}  // namespace krinu
