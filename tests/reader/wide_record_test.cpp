// A first record with hundreds of thousands of separators: detection must take linear time,
// so that the structure check can refuse such a file at once. The test runs with a time
// limit of its own (see CMakeLists.txt) instead of timing anything itself.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "reader/csv_reader.h"
#include "reader_test_util.h"
#include "support/test_env.h"

namespace krinu::test {
namespace {

constexpr int kSeparators = 400000;

TEST(CsvReaderWide, FieldCountOfAVeryWideFirstRecord) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("wide.csv"));
  QByteArray second(kSeparators, ';');
  second.prepend("first");
  second.append("last");
  WriteFile(path, QByteArray(kSeparators, ';') + "\r\n" + second + "\r\n");

  TqdxCSVFileReader reader(512);
  reader.SetFile(path, TTextEncoding::UTF8(), true, 1024);
  reader.SetFieldSeparatorCharCode(u';');
  int detected = -1;
  reader.SetOnFieldCountAutoDetectComplete(
      [&](TqdxCSVReader& sender) { detected = sender.FieldCount(); });
  reader.Open();
  EXPECT_EQ(detected, kSeparators + 1);
  ASSERT_EQ(reader.FieldCount(), kSeparators + 1);
  EXPECT_TRUE(reader.Fields(kSeparators).Value().isEmpty());
  reader.Next();
  ASSERT_FALSE(reader.Eof());
  EXPECT_EQ(reader.Fields(0).Value(), QStringLiteral("first"));
  EXPECT_EQ(reader.Fields(kSeparators).Value(), QStringLiteral("last"));
  reader.Next();
  EXPECT_TRUE(reader.Eof());
  reader.Close();

  // The same width given in advance, and the field list shrunk again.
  TStringReader fixed(QString(kSeparators, u',') + QStringLiteral("x"));
  fixed.SetFieldCount_AutoDetect(false);
  fixed.SetFieldCount(kSeparators + 1);
  fixed.Open();
  EXPECT_EQ(fixed.Fields(kSeparators).Value(), QStringLiteral("x"));
  fixed.Close();
  fixed.SetFieldCount(6);
  EXPECT_EQ(fixed.FieldCount(), 6);
}

TEST(CsvReaderWide, ABoundedDetectionStopsAtTheFirstFieldBeyondIt) {
  for (const int fields : {600, 601, kSeparators}) {
    TStringReader reader(QString(fields - 1, u';') + QStringLiteral("\r\nx\r\n"));
    reader.SetFieldSeparatorCharCode(u';');
    reader.SetFieldCountLimit(600);
    if (fields <= 600) {
      reader.Open();
      EXPECT_EQ(reader.FieldCount(), fields);
      EXPECT_FALSE(reader.FieldCountLimitReached());
      continue;
    }
    EXPECT_THROW(reader.Open(), EqdxCSVException);
    EXPECT_TRUE(reader.FieldCountLimitReached());
    EXPECT_LE(reader.FieldCount(), 600) << "no field beyond the bound is kept";
  }
}

}  // namespace
}  // namespace krinu::test
