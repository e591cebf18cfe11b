#include "reader/text_source.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "reader/code_page_tables.h"
#include "reader/csv_reader.h"
#include "reader_test_util.h"
#ifdef Q_OS_WIN
#include <windows.h>
#endif
#include "support/test_env.h"
#include "support/windows_encoding.h"

namespace krinu::test {
namespace {

using namespace Qt::StringLiterals;

QString DecodeAll(const QByteArray& bytes, const TTextEncoding& encoding, bool detectBOM,
                  int bufferSize = 128, int readChunk = 1000) {
  auto buffer = std::make_unique<QBuffer>();
  buffer->setData(bytes);
  buffer->open(QIODevice::ReadOnly);
  TDecodingTextSource source(std::move(buffer), encoding, detectBOM, bufferSize);
  QString text;
  std::vector<char16_t> chunk(readChunk);
  while (const int n = source.Read(chunk.data(), readChunk))
    text.append(reinterpret_cast<const QChar*>(chunk.data()), n);
  EXPECT_EQ(source.Peek(), -1);
  return text;
}

QByteArray Encode(const QString& text, const char* encoding) {
  if (QByteArray(encoding) == "windows-1250") return EncodeWindows(text, 1250);
  QStringEncoder encoder(encoding);
  return encoder(text);
}

// Restores KRINU_ANSI_CODEPAGE when the test ends.
class AnsiOverride {
 public:
  explicit AnsiOverride(const QByteArray& value) : FOld(qgetenv("KRINU_ANSI_CODEPAGE")) {
    qputenv("KRINU_ANSI_CODEPAGE", value);
  }
  ~AnsiOverride() { qputenv("KRINU_ANSI_CODEPAGE", FOld); }

 private:
  QByteArray FOld;
};

const QString kHungarian = u"Árvíztűrő tükörfúrógép, ŐŰ őű"_s;

TEST(TextSource, ByteOrderMarks) {
  const AnsiOverride ansi("1250");
  const QByteArray utf8 = Encode(kHungarian, "UTF-8");
  const QByteArray bomUtf8 = "\xEF\xBB\xBF" + utf8;
  const QByteArray bomLE = "\xFF\xFE" + Encode(kHungarian, "UTF-16LE");
  const QByteArray bomBE = "\xFE\xFF" + Encode(kHungarian, "UTF-16BE");
  for (const QByteArray& bytes : {bomUtf8, bomLE, bomBE})
    EXPECT_EQ(DecodeAll(bytes, TTextEncoding::Default(), true), kHungarian);
  // without detection the given encoding is used and only its own mark is skipped
  EXPECT_EQ(DecodeAll(bomUtf8, TTextEncoding::UTF8(), false), kHungarian);
  EXPECT_EQ(DecodeAll(bomLE, TTextEncoding::UTF16LE(), false), kHungarian);
  EXPECT_EQ(DecodeAll(bomUtf8, TTextEncoding::Default(), false).left(3), u"ď»ż"_s);
  // a second mark is text
  EXPECT_EQ(DecodeAll("\xEF\xBB\xBF" + bomUtf8, TTextEncoding::Default(), true),
            QChar(0xFEFF) + kHungarian);
  // no mark: the given encoding
  EXPECT_EQ(DecodeAll(Encode(kHungarian, "windows-1250"), TTextEncoding::Default(), true),
            kHungarian);
  EXPECT_EQ(DecodeAll(utf8, TTextEncoding::FromCodePage(65001), true), kHungarian);
  EXPECT_EQ(DecodeAll("\xFF", TTextEncoding::UTF8(), true), u"\xFFFD"_s);
  EXPECT_EQ(DecodeAll("", TTextEncoding::UTF8(), true), QString());
}

TEST(TextSource, CharactersSplitBetweenBlocks) {
  // text of 1-, 2-, 3- and 4-byte UTF-8 characters; every block boundary hits another spot
  QString text;
  for (int i = 0; i < 300; ++i) text += u"aő€"_s + QString::fromUcs4(U"\U0001F600") + u"\n"_s;
  for (const char* name : {"UTF-8", "UTF-16LE", "UTF-16BE"}) {
    const QByteArray bytes = Encode(text, name);
    for (int size : {128, 129, 130, 131, 1024}) {
      EXPECT_EQ(DecodeAll(bytes, TTextEncoding::FromName(name), false, size, 7), text)
          << name << " " << size;
    }
  }
  // invalid sequences become U+FFFD, also one cut off by the end of the data
  EXPECT_EQ(DecodeAll("a\xC3(b\xE2\x82", TTextEncoding::UTF8(), false), u"a\xFFFD(b\xFFFD\xFFFD"_s);
  // the character after a broken one at the block end survives
  const QByteArray cut = QByteArray(127, 'x') + "\xCF(";
  EXPECT_EQ(DecodeAll(cut, TTextEncoding::UTF8(), false, 128), QString(127, u'x') + u"\xFFFD("_s);
  EXPECT_EQ(DecodeAll(QByteArray("a\0b", 3), TTextEncoding::UTF16LE(), false), u"a\xFFFD"_s);
  // every byte of a single-byte code page is one character
  QByteArray all;
  for (int i = 0; i < 256; ++i) all += char(i);
  EXPECT_EQ(DecodeAll(all, TTextEncoding::FromCodePage(1250), false).size(), 256);
  EXPECT_EQ(DecodeAll(all, TTextEncoding::FromCodePage(1252), false).mid(0x80, 1), u"€"_s);
}

TEST(TextSource, SingleByteCodePagesAsTheirDecoderAtEveryOffset) {
  // one byte above 0x7F at every place of the sixteen-byte blocks, and control bytes and
  // the byte 0 among plain ASCII
  QByteArray bytes;
  for (int at = 0; at < 40; ++at) {
    QByteArray line(37, 'a');
    line[at % 37] = char(0x80 + at * 3);
    if (at % 5 == 0) line[(at + 7) % 37] = char(at % 3 == 0 ? 0 : 0x1F);
    bytes += line;
  }
  for (const int codePage : {1250, 1251, 1252}) {
    const TTextEncoding encoding = TTextEncoding::FromCodePage(codePage);
    const QString expected = DecodeWithTable(*WindowsByteTable(codePage), bytes);
    for (int size : {128, 131, 1024}) {
      EXPECT_EQ(DecodeAll(bytes, encoding, false, size, 19), expected) << codePage << " " << size;
    }
  }
}

// A file in a Windows code page reads the same in every build, whatever converters the
// platform has: every byte value, the ones the code page leaves undefined included.
TEST(TextSource, WindowsCodePagesDecodeAlikeEverywhere) {
  QByteArray all;
  for (int i = 0; i < 256; ++i) all += char(i);
  const QString hungarian = DecodeAll(all, TTextEncoding::FromCodePage(1250), false);
  ASSERT_EQ(hungarian.size(), 256);
  for (int undefined : {0x81, 0x83, 0x88, 0x90, 0x98})
    EXPECT_EQ(hungarian[undefined].unicode(), undefined) << "byte " << undefined;
  EXPECT_EQ(hungarian.mid(0x80, 1) + hungarian.mid(0xD5, 1) + hungarian.mid(0xFB, 1), u"€Őű"_s);
  for (int codePage : {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258}) {
    const auto table = WindowsByteTable(codePage);
    ASSERT_TRUE(table) << codePage;
    const QString text = DecodeAll(all, TTextEncoding::FromCodePage(codePage), false);
    EXPECT_EQ(text, QString(reinterpret_cast<const QChar*>(table->data()), 256)) << codePage;
#ifdef Q_OS_WIN
    // Windows' own converter agrees on every byte but a few the code page leaves undefined:
    // where Linux gives U+FFFD, Windows has a later addition or a private-use character, and
    // 1253's AAh is U+00AA on Linux, private-use on Windows.
    wchar_t system[256];
    ASSERT_EQ(::MultiByteToWideChar(UINT(codePage), 0, all.constData(), 256, system, 256), 256);
    for (int b = 0; b < 256; ++b) {
      if (text[b] != QChar(0xFFFD) && (system[b] < 0xE000 || system[b] > 0xF8FF)) {
        EXPECT_EQ(text[b].unicode(), system[b]) << codePage << " byte " << b;
      }
    }
#else
    QStringDecoder icu(QByteArray("windows-" + QByteArray::number(codePage)).constData());
    if (icu.isValid()) {
      EXPECT_EQ(text, QString(icu(all))) << codePage;
    }
#endif
  }
  EXPECT_FALSE(WindowsByteTable(1200));
  EXPECT_FALSE(ByteTableForName("iso-8859-2"));
}

TEST(TextSource, AnsiCodePage) {
  EXPECT_EQ(AnsiCodePageForLocale(u"hu_HU.UTF-8"), 1250);
  EXPECT_EQ(AnsiCodePageForLocale(u""), 1250);
  EXPECT_EQ(AnsiCodePageForLocale(u"C.UTF-8"), 1250);
  EXPECT_EQ(AnsiCodePageForLocale(u"de_AT.UTF-8"), 1252);
  EXPECT_EQ(AnsiCodePageForLocale(u"ru_RU.KOI8-R"), 1251);
  EXPECT_EQ(AnsiCodePageForLocale(u"sr_RS"), 1251);
  EXPECT_EQ(AnsiCodePageForLocale(u"sr_RS@latin"), 1250);
  EXPECT_EQ(AnsiCodePageForLocale(u"ja_JP.eucJP"), 932);
  EXPECT_EQ(AnsiCodePageForLocale(u"zh_TW"), 950);
  {
    const AnsiOverride ansi("windows-1252");
    EXPECT_EQ(AnsiCodePage(), 1252);
    EXPECT_EQ(TTextEncoding::Default().Name(), "windows-1252");
  }
  {
    const AnsiOverride ansi("cp1257");
    EXPECT_EQ(AnsiCodePageName(), "windows-1257");
  }
  {
    const AnsiOverride bogus("klingon");
#ifdef Q_OS_WIN
    EXPECT_EQ(AnsiCodePage(), int(::GetACP())) << "an unusable override is ignored";
#else
    const QByteArray lang = qgetenv("LC_ALL");
    qputenv("LC_ALL", "hu_HU.UTF-8");
    EXPECT_EQ(AnsiCodePage(), 1250) << "an unusable override is ignored";
    qputenv("LC_ALL", lang);
#endif
  }
  EXPECT_EQ(TTextEncoding::FromCodePage(1200), TTextEncoding::UTF16LE());
  EXPECT_EQ(TTextEncoding::FromCodePage(874).Name(), "windows-874");
  EXPECT_TRUE(TTextEncoding::FromCodePage(0).IsNone());
}

TEST(FileReader, EncodingsAndErrors) {
  const AnsiOverride ansi("1250");
  QTemporaryDir dir;
  const QString text = u"Adószám;Név\r\n12345678-1-42;Őrség Kft.\r\n"_s;
  struct Case {
    QByteArray bytes;
    int codePage;
  };
  const Case cases[] = {
      {Encode(text, "windows-1250"), 0},           {Encode(text, "UTF-8"), 65001},
      {"\xEF\xBB\xBF" + Encode(text, "UTF-8"), 0}, {"\xFF\xFE" + Encode(text, "UTF-16LE"), 1200},
      {"\xFF\xFE" + Encode(text, "UTF-16LE"), 0},  {"\xFE\xFF" + Encode(text, "UTF-16BE"), 65001},
  };
  int i = 0;
  for (const Case& c : cases) {
    const QString path = dir.filePath(QString::number(i++) + u".csv"_s);
    WriteFile(path, c.bytes);
    TqdxCSVFileReader reader(512);
    reader.SetFile(path, TTextEncoding::FromCodePage(c.codePage), true, 1024);
    reader.SetFieldSeparatorCharCode(u';');
    reader.SetHeaderPresent(true);
    reader.Open();
    EXPECT_EQ(reader.Fields(1).Name(), u"Név"_s) << i;
    EXPECT_EQ(Drain(reader), QStringList({u"12345678-1-42|Őrség Kft."_s})) << i;
  }

  // the two short forms read UTF-8
  const QString utf8Path = dir.filePath(u"utf8.csv"_s);
  WriteFile(utf8Path,
            "\xEF\xBB\xBF"
            "\xC5\x90,b\n");
  TqdxCSVFileReader shortForms;
  shortForms.SetFile(utf8Path);
  shortForms.Open();
  EXPECT_EQ(Drain(shortForms), QStringList({u"Ő|b"_s}));
  shortForms.Close();
  shortForms.SetFile(utf8Path, false);
  shortForms.Open();
  EXPECT_EQ(Drain(shortForms), QStringList({u"Ő|b"_s}));

  const QString prefix = u"TqdxCSVFileReader: \r"_s;
  EXPECT_EQ(ErrorOf([&] { shortForms.SetFile(utf8Path); }),
            prefix + u"TqdxCSVFileReader.SetFile.\rOperation is not allowed in Active state"_s);
  EXPECT_EQ(ErrorOf([&] { shortForms.SetHeaderPresent(true); }),
            prefix +
                u"Modifying HeaderPresent input parameter.\rOperation is not allowed in Active "
                u"state"_s);
  shortForms.Close();

  TqdxCSVFileReader missing;
  missing.SetFile(dir.filePath(u"nincs.csv"_s));
  const QString message = ErrorOf([&] { missing.Open(); });
  EXPECT_TRUE(message.startsWith(u"Cannot open file \""_s)) << message.toStdString();
  EXPECT_TRUE(message.contains(u"nincs.csv"_s));
  EXPECT_FALSE(missing.Active());

  TqdxCSVFileReader broken;
  const QString brokenPath = dir.filePath(u"broken.csv"_s);
  WriteFile(brokenPath, "a;b\r\n1;2;3\r\n");
  broken.SetFile(brokenPath, TTextEncoding::Default(), true, 1024);
  broken.SetFieldSeparatorCharCode(u';');
  broken.Open();
  EXPECT_EQ(ErrorOf([&] { broken.Next(); }),
            prefix + u"Wrong number of fields.\rRecord #: 2; Field #: 3 (both start from 1)"_s);

  TqdxCSVFileReader unknown;
  unknown.SetFile(utf8Path, TTextEncoding::FromName("no-such-encoding"), false, 1024);
  EXPECT_TRUE(ErrorOf([&] { unknown.Open(); }).startsWith(u"Unsupported encoding"_s));
}

}  // namespace
}  // namespace krinu::test
