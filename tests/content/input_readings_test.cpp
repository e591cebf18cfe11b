// Every reading of the input file (the sample, the analysis's lines and count, the structure
// check, the load) opens it by one rule: the same invoices in any accepted encoding, with or
// without a byte-order mark, read alike by all of them.
#include <gtest/gtest.h>

#include <QStringEncoder>
#include <QTemporaryDir>

#include "content/input_load.h"
#include "intake/code_page.h"
#include "intake/structure.h"
#include "support/test_env.h"
#include "support/windows_encoding.h"

namespace krinu {
namespace {

const QString kInvoices = QStringLiteral(
    "Adószám;Partner neve;Dátum;Számla szám;Nettó alap;ÁFA összeg\r\n"
    "12345678-2-42;Kovács és Társa Kft;2026.11.05;SZ-1;100000;27000\r\n"
    "87654321-1-13;Őrség Űrkutató Bt;2026.11.06;SZ-2;50000;13500\r\n"
    "11223344-2-05;Fűtőszerelő Ügynökség Zrt;2026.11.07;SZ-3;10000;2700\r\n");

// What each reading made of the file.
struct TReadings {
  quint16 CodePage = 0;
  bool HasBOM = false;
  QString Separator;
  bool Header = false;
  qint32 Lines = -1;
  QVector<QStringList> Preview;
  QStringList Names;  // Megnevezes of the loaded lines
  bool operator==(const TReadings&) const = default;
};

TReadings ReadAll(const QString& path) {
  TReadings r;
  const TResult<TFBytes> sample = ReadSampleExclusively(path);
  if (!sample) return r;
  const TDetectedCodePage detected = DetectCodePage(sample.Value());
  r.CodePage = detected.CodePage;
  r.HasBOM = detected.HasBOM;
  const TStructureGuess guess =
      AnalyzeInputDataStructure(path, detected.CodePage, QStringLiteral("?"), false);
  r.Separator = guess.Separator;
  r.Header = guess.Header;
  r.Lines = guess.LineCount.value_or(-1);

  TInputSettings settings;
  settings.InputFileName = path;
  settings.InputCodePage = detected.CodePage;
  settings.InputHasBOM = detected.HasBOM;
  settings.InputSeparatorChar = r.Separator.isEmpty() ? QChar() : r.Separator.at(0);
  settings.HeaderPresent = r.Header;
  settings.InputLineCount = r.Lines;
  const TStructureCheck check = CheckInputDataStructure(settings);
  EXPECT_TRUE(check.Status.Ok()) << check.Status.Message().toStdString();
  r.Preview = check.Preview.Cells;
  const TLoadResult load = LoadInputData(settings, TColumnSelection{{1, 2, 3, 4, 5, 6}},
                                         QStringLiteral("yyyy.mm.dd"), 0);
  EXPECT_TRUE(load.Succeeded());
  for (const TAFAAdat& line : load.AFAAdatList) r.Names << line.Megnevezes.ToString();
  return r;
}

TEST(InputReadings, EveryReadingDecodesTheFileAlike) {
  qputenv("KRINU_ANSI_CODEPAGE", "1250");
  QTemporaryDir dir;
  QStringEncoder toUtf16(QStringEncoder::Utf16LE);
  const QByteArray utf16 = toUtf16(kInvoices);
  const struct {
    const char* name;
    QByteArray bytes;
    quint16 codePage;
    bool bom;
  } files[] = {{"utf8.csv", kInvoices.toUtf8(), kCodePageUtf8, false},
               {"utf8-bom.csv", "\xEF\xBB\xBF" + kInvoices.toUtf8(), kCodePageUtf8, true},
               {"utf16.csv", utf16, kCodePageUtf16LE, false},
               {"utf16-bom.csv", "\xFF\xFE" + utf16, kCodePageUtf16LE, true},
               {"ansi.csv", test::EncodeWindows(kInvoices, 1250), kCodePageAnsi, false}};
  TReadings expected;
  expected.Separator = QStringLiteral(";");
  expected.Header = true;
  expected.Lines = 4;
  expected.Names =
      QStringList{QStringLiteral("Fűtőszerelő Ügynökség Zrt"),
                  QStringLiteral("Kovács és Társa Kft"), QStringLiteral("Őrség Űrkutató Bt")};
  for (const auto& f : files) {
    const QString path = dir.filePath(QString::fromLatin1(f.name));
    test::WriteFile(path, f.bytes);
    const TReadings r = ReadAll(path);
    expected.CodePage = f.codePage;
    expected.HasBOM = f.bom;
    if (expected.Preview.isEmpty()) expected.Preview = r.Preview;
    EXPECT_EQ(r, expected) << f.name;
  }
  ASSERT_EQ(expected.Preview.size(), 4);
  EXPECT_EQ(expected.Preview[0][0], QStringLiteral("Adószám"));
  EXPECT_EQ(expected.Preview[2][1], QStringLiteral("Őrség Űrkutató Bt"));
}

}  // namespace
}  // namespace krinu
