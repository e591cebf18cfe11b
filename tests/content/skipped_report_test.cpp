#include "content/skipped_report.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "support/file_size_limit.h"
#include "support/test_env.h"

namespace krinu {
namespace {

// Records as the load keeps them: the row text once, the fields read out of it.
struct Skipped {
  QStringList Rows;
  std::vector<TSkippedRecord> Records;
  void Add(qint64 number, quint8 reasons, const QStringList& fields) {
    TSkippedRecord record{number, reasons, {}};
    Rows << SkippedRowOf(fields, u';', record);
    Records.push_back(std::move(record));
  }
};

TEST(SkippedReport, CsvWithNumbersReasonsAndQuotedFields) {
  Skipped skipped;
  // The separator inside a field: the row text cannot be split again, the field ends can.
  skipped.Add(3, srAFATooHigh, {"12345678", "ACME; Kft", "2020.01.15", "S-1", "1000", "900"});
  skipped.Add(12, srAdoszam | srDatum, {"HU1", "\"Idéző\" Bt", "sor\r\ntörés", "", "1", "0"});
  EXPECT_EQ(skipped.Rows[0], "12345678;ACME; Kft;2020.01.15;S-1;1000;900");
  const QByteArray csv = SkippedReportCsv(skipped.Rows, skipped.Records);
  EXPECT_EQ(csv, QByteArray("\xEF\xBB\xBF") +
                     QStringLiteral(
                         "Sorszám;Ok;1. mező;2. mező;3. mező;4. mező;5. mező;6. mező\r\n"
                         "3;ÁFA > nettó/2;12345678;\"ACME; Kft\";2020.01.15;S-1;1000;900\r\n"
                         "12;Adószám, Dátum;HU1;\"\"\"Idéző\"\" Bt\";\"sor\r\ntörés\";;1;0\r\n")
                         .toUtf8());
  EXPECT_EQ(SkippedReportCsv({}, {}), QByteArray("\xEF\xBB\xBF") + "Sorszám;Ok\r\n");
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
  Skipped skipped;
  skipped.Add(2, srDatum, {"a", "b"});
  ASSERT_FALSE(test::ErrorOf(WriteSkippedReport(file, skipped.Rows, skipped.Records)));
  EXPECT_EQ(test::ReadFile(file), SkippedReportCsv(skipped.Rows, skipped.Records));
  ASSERT_FALSE(test::ErrorOf(WriteSkippedRows(file, {"r"})));
  EXPECT_EQ(test::ReadFile(file), "r\n");

  // A folder of that name cannot be replaced: it stays, and the message names it.
  const QString folder = dir.filePath("mappa");
  ASSERT_TRUE(QDir().mkpath(folder + "/benne"));
  const std::optional<QString> error =
      test::ErrorOf(WriteSkippedReport(folder, skipped.Rows, skipped.Records));
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
  // Rows written piece by piece: the disk fills after some pieces went out.
  {
    test::FileSizeLimit full(3 << 20);
    error = test::ErrorOf(WriteSkippedRows(file, QStringList(200, QString(20000, u'x'))));
  }
  ASSERT_TRUE(error);
  EXPECT_EQ(test::ReadFile(file), "r\n");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"kihagyott.txt"});
}

}  // namespace
}  // namespace krinu
