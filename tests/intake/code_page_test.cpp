#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "intake/code_page.h"
#include "reader/exclusive_read.h"
#include "support/foreign_writer.h"
#include "support/test_env.h"

namespace krinu {
namespace {

quint16 Detect(const QByteArray& bytes, bool* bom = nullptr) {
  TFBytes sample;
  sample.Len = qint32(std::min<qsizetype>(bytes.size(), 4096));
  std::copy_n(bytes.constData(), sample.Len, sample.Data.begin());
  const TDetectedCodePage detected = DetectCodePage(sample);
  if (bom) *bom = detected.HasBOM;
  return detected.CodePage;
}

QByteArray Utf16(const QString& text, bool bigEndian) {
  QByteArray out;
  for (QChar c : text) {
    const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
    out += bigEndian ? QByteArray{&hi, 1} + QByteArray{&lo, 1}
                     : QByteArray{&lo, 1} + QByteArray{&hi, 1};
  }
  return out;
}

TEST(DetectCodePage, ByteOrderMarksInTheirOrder) {
  bool bom = false;
  EXPECT_EQ(Detect("", &bom), 0);
  EXPECT_FALSE(bom);
  EXPECT_EQ(Detect("\xEF\xBB\xBF", &bom), 0);  // 0 to 3 bytes: too short for any test
  EXPECT_FALSE(bom);
  EXPECT_EQ(Detect("\xEF\xBB\xBF"
                   "a;b",
                   &bom),
            65001);
  EXPECT_TRUE(bom);
  EXPECT_EQ(Detect(QByteArray("\x00\x00\xFE\xFF", 4) + "abcd"), 12001);
  // UTF-16 text whose first character is U+0000 reads as a UTF-32 LE mark
  EXPECT_EQ(Detect(QByteArray("\xFF\xFE\x00\x00", 4) + Utf16(QStringLiteral("abc"), false), &bom),
            12000);
  EXPECT_TRUE(bom);
  EXPECT_EQ(Detect("\xFE\xFF" + Utf16(QStringLiteral("ab"), true)), 1201);
  EXPECT_EQ(Detect("\xFF\xFE" + Utf16(QStringLiteral("ab"), false), &bom), 1200);
  EXPECT_TRUE(bom);
}

TEST(DetectCodePage, ContentTests) {
  bool bom = true;
  // one two-byte sequence is not enough for UTF-8, two are
  EXPECT_EQ(Detect("Sz\xC3\xA1mla;1;2;3", &bom), 0);
  EXPECT_FALSE(bom);
  EXPECT_EQ(Detect("Sz\xC3\xA1mla;\xC5\x91r;2;3", &bom), 65001);
  EXPECT_FALSE(bom);
  // three-byte sequences (the euro sign) are not counted
  EXPECT_EQ(Detect("\xE2\x82\xAC 10;\xE2\x82\xAC 20;\xE2\x82\xAC 30"), 0);
  // a pair ending on the sample's last byte is not counted
  EXPECT_EQ(Detect("abc\xC3\xA1xyz\xC3\xA1"), 0);
  EXPECT_EQ(Detect("abc\xC3\xA1xyz\xC3\xA1 "), 65001);
  // BOM-less UTF-16 of ASCII text
  EXPECT_EQ(Detect(Utf16(QStringLiteral("Adószám;Név;Dátum\r\n"), false)), 1200);
  EXPECT_EQ(Detect(Utf16(QStringLiteral("Adoszam;Nev;Datum\r\n"), true)), 1201);
  EXPECT_EQ(Detect("plain ANSI text; no zero bytes at all"), 0);
}

TEST(CodePageName, NamesAsShown) {
  EXPECT_EQ(CodePageName(0), QStringLiteral("Windows alapértelmezett"));
  EXPECT_EQ(CodePageName(65001), QStringLiteral("UTF-8"));
  EXPECT_EQ(CodePageName(1200), QStringLiteral("UTF-16 (little endien)"));
  EXPECT_EQ(CodePageName(1201), QStringLiteral("UTF-16 (big    endien)"));
  EXPECT_EQ(CodePageName(12000), QStringLiteral("UTF-32 (little endien)"));
  EXPECT_EQ(CodePageName(12001), QStringLiteral("UTF-32 (big    endien)"));
  EXPECT_EQ(CodePageName(1250), QStringLiteral("?"));
}

TEST(ExclusiveAccess, AFileBeingWrittenIsRefused) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("in.csv"));
  test::WriteFile(path, "a;b;c;d;e;f\n");
  {
    const test::ForeignWriter writer(path);
    ASSERT_TRUE(writer.Holding());
    EXPECT_FALSE(ReadSampleExclusively(path));
    EXPECT_TRUE(AnyProcessWrites(path));
  }
  EXPECT_FALSE(AnyProcessWrites(path));
  TResult<TFBytes> sample = ReadSampleExclusively(path);
  ASSERT_TRUE(sample);
  EXPECT_EQ(sample->Len, 12);
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(sample->Data.data()), sample->Len),
            QByteArray("a;b;c;d;e;f\n"));

  // missing files and folders cannot be opened at all
  EXPECT_FALSE(ReadSampleExclusively(dir.filePath(QStringLiteral("missing.csv"))));
  EXPECT_FALSE(ReadSampleExclusively(dir.path()));

  // the sample stops at 4096 bytes
  test::WriteFile(path, QByteArray(5000, 'x'));
  sample = ReadSampleExclusively(path);
  ASSERT_TRUE(sample);
  EXPECT_EQ(sample->Len, 4096);
}

}  // namespace
}  // namespace krinu
