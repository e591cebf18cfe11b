#include "reader/csv_reader.h"

#include <gtest/gtest.h>

#include <random>

#include "reader_test_util.h"

namespace krinu::test {
namespace {

using namespace Qt::StringLiterals;

const QString kPrefix = QStringLiteral("TqdxCSVReader: \r");

QString Positioned(const QString& text, int record, int field) {
  return kPrefix + text +
         QStringLiteral("\rRecord #: %1; Field #: %2 (both start from 1)").arg(record).arg(field);
}

QStringList ReadAll(const QString& text, bool ignoreEmptyLines = false) {
  TStringReader r(text);
  r.SetIgnoreEmptyLines(ignoreEmptyLines);
  r.Open();
  return Drain(r);
}

TEST(CsvReader, EmptyDataAndHeaderOnly) {
  TStringReader empty(u""_s);
  empty.Open();
  EXPECT_TRUE(empty.Active());
  EXPECT_TRUE(empty.Eof());
  EXPECT_TRUE(empty.Bof());
  EXPECT_EQ(empty.FieldCount(), 0);
  EXPECT_EQ(empty.RecordCountProcessedSoFar(), 0);
  empty.Next();  // nothing happens at Eof
  EXPECT_TRUE(empty.Eof());

  TStringReader header(u"Adószám;Név\r\n"_s);
  header.SetFieldSeparatorCharCode(u';');
  header.SetHeaderPresent(true);
  header.Open();
  EXPECT_TRUE(header.Eof());
  ASSERT_EQ(header.FieldCount(), 2);
  EXPECT_EQ(header.Fields(0).Name(), u"Adószám"_s);
  EXPECT_EQ(header.Fields(1).Name(), u"Név"_s);
  EXPECT_EQ(header.Fields(0).Value(), QString());
  EXPECT_EQ(header.RecordCountProcessedSoFar(), 1);

  TStringReader data(u"a,b\n1,2\n3,4"_s);
  data.SetHeaderPresent(true);
  data.Open();
  EXPECT_FALSE(data.Bof()) << "cleared by the Next that read the first record";
  EXPECT_EQ(data.Fields(1).Name(), u"b"_s);
  EXPECT_EQ(Drain(data), QStringList({u"1|2"_s, u"3|4"_s}));
  EXPECT_EQ(data.RecordCountProcessedSoFar(), 3);
  EXPECT_EQ(data.Fields(0).Name(), u"a"_s) << "names stay at the end of the data";
  EXPECT_EQ(data.Fields(0).Value(), QString()) << "values are emptied at the end of the data";
}

TEST(CsvReader, LineEndsAndLastLine) {
  EXPECT_EQ(ReadAll(u"x,y"_s), QStringList({u"x|y"_s}));
  EXPECT_EQ(ReadAll(u"x,y,"_s), QStringList({u"x|y|"_s}));
  EXPECT_EQ(ReadAll(u"a,b\r\nc,d\ne,f\rg,h\r\n"_s),
            QStringList({u"a|b"_s, u"c|d"_s, u"e|f"_s, u"g|h"_s}));
  EXPECT_EQ(ReadAll(u",\n,"_s), QStringList({u"|"_s, u"|"_s}));
  // one-field records: an empty line is a record of one empty field
  EXPECT_EQ(ReadAll(u"a\n\nb\r\n\r\nc"_s),
            QStringList({u"a"_s, QString(), u"b"_s, QString(), u"c"_s}));
  EXPECT_EQ(ReadAll(u"a\n\r\n\rb\n"_s, true), QStringList({u"a"_s, u"b"_s}));
}

TEST(CsvReader, Quoting) {
  EXPECT_EQ(ReadAll(u"\"a,b\r\nc\"\"d\",e\n"_s), QStringList({u"a,b\r\nc\"d|e"_s}));
  EXPECT_EQ(ReadAll(u"\"\",\"\"\"\"\r\n"_s), QStringList({u"|\""_s}));
  EXPECT_EQ(ReadAll(u"ab\"c\",d"_s), QStringList({u"ab\"c\"|d"_s}))
      << "a quote inside an unquoted field is an ordinary character";
  EXPECT_EQ(ReadAll(u"\"x\"\r\"y\""_s), QStringList({u"x"_s, u"y"_s}));

  TStringReader off(u"\"a,b\",\"c\"\"\n"_s);
  off.SetUseFieldQuoting(false);
  off.Open();
  EXPECT_EQ(Drain(off), QStringList({u"\"a|b\"|\"c\"\""_s}));

  TStringReader single(u"'a;b';'it''s'"_s);
  single.SetQuoteCharCode(u'\'');
  single.SetFieldSeparatorCharCode(u';');
  single.Open();
  EXPECT_EQ(Drain(single), QStringList({u"a;b|it's"_s}));
}

TEST(CsvReader, WrongFormatClosesTheReader) {
  TStringReader after(u"a,b\n\"x\"y,z\n"_s);
  after.Open();
  EXPECT_EQ(ErrorOf([&] { after.Next(); }), Positioned(u"Wrong format of field value."_s, 2, 1));
  EXPECT_FALSE(after.Active());
  EXPECT_EQ(after.RecordCountProcessedSoFar(), 0) << "reset after a failure";
  EXPECT_EQ(ErrorOf([&] { after.Next(); }),
            kPrefix + u"Getting next record.\rOperation is not allowed in Inactive state"_s);

  TStringReader open(u"a,\"b\r\nc"_s);
  EXPECT_EQ(ErrorOf([&] { open.Open(); }), Positioned(u"Wrong format of field value."_s, 1, 2));
  EXPECT_FALSE(open.Active());

  // the same reader opens again after the text is mended
  open.SetText(u"a,\"b\r\nc\""_s);
  open.Open();
  EXPECT_EQ(Drain(open), QStringList({u"a|b\r\nc"_s}));
}

TEST(CsvReader, FieldCounts) {
  int events = 0;
  TStringReader more(u"a,b\n1,2\n1,2,3\n"_s);
  more.SetOnFieldCountAutoDetectComplete([&](TqdxCSVReader& sender) {
    ++events;
    EXPECT_EQ(&sender, &more);
    EXPECT_EQ(sender.FieldCount(), 2);
  });
  more.Open();
  more.Next();
  EXPECT_EQ(ErrorOf([&] { more.Next(); }), Positioned(u"Wrong number of fields."_s, 3, 3));
  EXPECT_EQ(events, 1);

  TStringReader fewer(u"h1;h2;h3\r\nx;y\r\n"_s);
  fewer.SetFieldSeparatorCharCode(u';');
  fewer.SetHeaderPresent(true);
  EXPECT_EQ(ErrorOf([&] { fewer.Open(); }), Positioned(u"Wrong number of fields."_s, 2, 3));

  // an empty line among several fields is a record of one field
  TStringReader gap(u"a,b\n\nc,d\n"_s);
  gap.Open();
  EXPECT_EQ(ErrorOf([&] { gap.Next(); }), Positioned(u"Wrong number of fields."_s, 2, 2));
  EXPECT_EQ(ReadAll(u"a,b\n\nc,d\n"_s, true), QStringList({u"a|b"_s, u"c|d"_s}));
  TStringReader blanks(u"a,b\n  \nc,d\n"_s);
  blanks.SetIgnoreEmptyLines(true);
  blanks.Open();
  EXPECT_EQ(ErrorOf([&] { blanks.Next(); }), Positioned(u"Wrong number of fields."_s, 2, 2))
      << "a line of blanks is not empty";

  // a fixed field count without detection
  TStringReader fixed(u"1,2,3\n"_s);
  fixed.SetFieldCount_AutoDetect(false);
  fixed.SetFieldCount(3);
  fixed.Open();
  EXPECT_EQ(Drain(fixed), QStringList({u"1|2|3"_s}));
  EXPECT_TRUE(fixed.Active()) << "the end of the data does not close the reader";
  fixed.Close();
  fixed.SetFieldCount(2);
  EXPECT_EQ(ErrorOf([&] { fixed.Open(); }), Positioned(u"Wrong number of fields."_s, 1, 3));
  EXPECT_EQ(fixed.FieldCount(), 2) << "no detection: the count stays";
}

TEST(CsvReader, SpecialCharacters) {
  TStringReader tab(u"a\tb,c\n"_s);
  EXPECT_EQ(ErrorOf([&] { tab.Open(); }),
            Positioned(u"Invalid character (HexCode = 00000009). Input file is invalid."_s, 1, 1));
  // the same deep inside long values, quoted or not
  const QString pad(30, u'p');
  TStringReader deep(pad + u","_s + pad + u"\x7F\x80\"\""_s + pad + u"\n\"a\n,"_s + pad +
                     u"\x1F\""_s);
  deep.Open();
  EXPECT_EQ(deep.Fields(1).Value(), pad + u"\x7F\x80\"\""_s + pad);
  EXPECT_EQ(ErrorOf([&] { deep.Next(); }),
            Positioned(u"Invalid character (HexCode = 0000001F). Input file is invalid."_s, 2, 1));
  TStringReader deepAscii(pad + u"\x7F"_s);
  deepAscii.SetASCIIonly(true);
  EXPECT_EQ(ErrorOf([&] { deepAscii.Open(); }),
            Positioned(u"Invalid character (HexCode = 0000007F). Input file is invalid."_s, 1, 1));
  TStringReader dropped(u"a\tb,c\x01\n"_s);
  dropped.SetIgnoreSpecialCharacters(true);
  dropped.Open();
  EXPECT_EQ(Drain(dropped), QStringList({u"ab|c"_s}));
  TStringReader tabSeparated(u"a\tb\n"_s);
  tabSeparated.SetFieldSeparatorCharCode(u'\t');
  tabSeparated.Open();
  EXPECT_EQ(Drain(tabSeparated), QStringList({u"a|b"_s}));

  // above 126 is ordinary text unless ASCIIonly
  EXPECT_EQ(ReadAll(u"Árvíztűrő\x7f,€\n"_s), QStringList({u"Árvíztűrő\x7f|€"_s}));
  TStringReader ascii(u"ok,x\nfa\x00ADl,x\n"_s);
  ascii.SetASCIIonly(true);
  ascii.Open();
  EXPECT_EQ(ErrorOf([&] { ascii.Next(); }),
            Positioned(u"Invalid character (HexCode = 000000AD). Input file is invalid."_s, 2, 1));
  TStringReader asciiDropped(u"\"f\x00E9l\x7f\",\x20AC\n"_s);
  asciiDropped.SetASCIIonly(true);
  asciiDropped.SetIgnoreSpecialCharacters(true);
  asciiDropped.Open();
  EXPECT_EQ(Drain(asciiDropped), QStringList({u"fl|"_s}));
  // separator and quote above 126 are still separator and quote with ASCIIonly
  TStringReader wide(u"§a¤b§¤c\n"_s);
  wide.SetFieldSeparatorCharCode(u'¤');
  wide.SetQuoteCharCode(u'§');
  wide.SetASCIIonly(true);
  wide.Open();
  EXPECT_EQ(Drain(wide), QStringList({u"a¤b|c"_s}));
}

TEST(CsvReader, CodeZero) {
  const QChar nul(0);
  // between records: the walk ends
  EXPECT_EQ(ReadAll(u"a,b\n"_s + nul + u"c,d\n"_s), QStringList({u"a|b"_s}));
  // inside a record: the record ends there, the next one starts after it
  EXPECT_EQ(ReadAll(u"a,b"_s + nul + u"c,d\n"_s), QStringList({u"a|b"_s, u"c|d"_s}));
  // inside a quoted field: the field is unterminated
  TStringReader quoted(u"\"a"_s + nul + u"\",b\n"_s);
  EXPECT_EQ(ErrorOf([&] { quoted.Open(); }), Positioned(u"Wrong format of field value."_s, 1, 1));
  // as the first character the data is not empty, but holds no record
  TStringReader first(QString(nul) + u"a"_s);
  first.Open();
  EXPECT_TRUE(first.Eof());
  EXPECT_EQ(first.FieldCount(), 0);
}

TEST(CsvReader, PropertiesWhileActive) {
  TStringReader r(u"a,b\n1,2\n"_s);
  EXPECT_FALSE(r.HeaderPresent());
  EXPECT_TRUE(r.FieldCount_AutoDetect());
  EXPECT_EQ(r.FieldSeparatorCharCode(), u',');
  EXPECT_TRUE(r.UseFieldQuoting());
  EXPECT_EQ(r.QuoteCharCode(), u'"');
  EXPECT_FALSE(r.IgnoreEmptyLines() || r.ASCIIonly() || r.IgnoreSpecialCharacters());
  r.SetActive(true);
  // the current value is accepted silently
  r.SetHeaderPresent(false);
  r.SetFieldCount_AutoDetect(true);
  r.SetFieldSeparatorCharCode(u',');
  r.SetUseFieldQuoting(true);
  r.SetQuoteCharCode(u'"');
  r.SetIgnoreEmptyLines(false);
  r.SetASCIIonly(false);
  r.SetIgnoreSpecialCharacters(false);
  r.SetFieldCount(2);
  r.Open();
  const QString tail = u"\rOperation is not allowed in Active state"_s;
  EXPECT_EQ(ErrorOf([&] { r.SetHeaderPresent(true); }),
            kPrefix + u"Modifying HeaderPresent input parameter."_s + tail);
  EXPECT_EQ(ErrorOf([&] { r.SetFieldCount_AutoDetect(false); }),
            kPrefix + u"Modifying FieldCount_AutoDetect input parameter."_s + tail);
  EXPECT_EQ(ErrorOf([&] { r.SetFieldCount(3); }), kPrefix + u"Modifying field count."_s + tail);
  EXPECT_EQ(ErrorOf([&] { r.SetFieldSeparatorCharCode(u';'); }),
            kPrefix + u"Modifying FieldSeparatorCharCode input parameter."_s + tail);
  EXPECT_EQ(ErrorOf([&] { r.SetUseFieldQuoting(false); }),
            kPrefix + u"Modifying UseFieldDblQuoting input parameter."_s + tail);
  EXPECT_EQ(ErrorOf([&] { r.SetQuoteCharCode(u'\''); }),
            kPrefix + u"Modifying QuoteCharCode input parameter."_s + tail);
  EXPECT_EQ(ErrorOf([&] { r.SetIgnoreEmptyLines(true); }),
            kPrefix + u"Modifuing IgnoreEmptyLines input parameter."_s + tail);
  EXPECT_EQ(ErrorOf([&] { r.SetASCIIonly(true); }),
            kPrefix + u"Modifying ASCIIonly input parameter."_s + tail);
  EXPECT_EQ(ErrorOf([&] { r.SetIgnoreSpecialCharacters(true); }),
            kPrefix + u"Modifying IgnoreSpecialCharacters input parameter."_s + tail);
  // refusals change nothing
  EXPECT_TRUE(r.Active());
  EXPECT_EQ(r.Fields(1).Value(), u"b"_s);
  EXPECT_EQ(Drain(r), QStringList({u"a|b"_s, u"1|2"_s}));
  EXPECT_THROW(r.Fields(2), std::out_of_range);
  EXPECT_THROW(r.Fields(-1), std::out_of_range);

  r.Close();
  EXPECT_FALSE(r.Active());
  EXPECT_EQ(r.FieldCount(), 2) << "field objects survive Close";
  r.SetFieldCount(-1);
  EXPECT_EQ(r.FieldCount(), 2);
  r.SetFieldCount(4);
  EXPECT_EQ(r.FieldCount(), 4);
  r.SetFieldCount(1);
  EXPECT_EQ(r.FieldCount(), 1);
  // a new opening starts from the beginning and detects again
  r.Open();
  EXPECT_EQ(Drain(r), QStringList({u"a|b"_s, u"1|2"_s}));
}

TEST(CsvReader, SameRecordsWhateverTheBufferSizes) {
  QString text;
  for (int i = 0; i < 40; ++i)
    text += QStringLiteral("\"q%1,\"\"\r\n\",%2,%3\r\n").arg(i).arg(QString(i * 7, u'x')).arg(i);
  TStringReader big(text, 100000);
  big.Open();
  const QStringList expected = Drain(big);
  ASSERT_EQ(expected.size(), 40);
  EXPECT_EQ(expected[3], u"q3,\"\r\n|xxxxxxxxxxxxxxxxxxxxx|3"_s);
  for (int chars : {1, 2, 3, 7, 64}) {
    TStringReader small(text, chars);
    small.Open();
    EXPECT_EQ(Drain(small), expected) << chars;
  }
  // a value much longer than the read buffer and the field buffer's growth step
  const QString longValue(100000, u'z');
  EXPECT_EQ(ReadAll(longValue + u",\""_s + longValue + u"\"\n"_s),
            QStringList({longValue + u'|' + longValue}));
}

// Records of ordinary characters are taken in place when they lie whole in the read buffer;
// a buffer of one character never holds one, so it reads everything by the character loop.
// Every other buffer must give the same records, values in place and as strings, the same
// counts and the same error, whatever the records hold and wherever the buffer ends.
TEST(CsvReader, RecordsTakenInPlaceAreTheCharacterLoopsRecords) {
  std::mt19937 random(20240605);
  const auto pick = [&random](int n) { return int(random() % unsigned(n)); };
  const QStringList pieces{
      u"abc"_s,  u""_s,         u"ő Kft."_s, u"12.345,67"_s, u"\"q,\r\n\"\"\""_s, u"a\tb"_s,
      u"\"\""_s, u"x\u00A7y"_s, u" "_s,      u"z\u0001"_s,   u"\"open"_s};
  const QStringList ends{u"\r\n"_s, u"\n"_s, u"\r"_s};
  for (int round = 0; round < 200; ++round) {
    const QChar separator = round % 3 == 2 ? u'\u00A7' : (round % 2 ? u';' : u',');
    QString text;
    const int fields = 1 + pick(4);
    for (int record = 0; record < 40; ++record) {
      const int count = pick(25) == 0 ? fields + 1 : fields;  // now and then one too many
      for (int f = 0; f < count; ++f) {
        if (f > 0) text += separator;
        text += pieces[pick(round < 60 ? 4 : pieces.size())];
      }
      text += ends[pick(3)];
      if (pick(6) == 0) text += ends[pick(3)];  // an empty line
      if (round >= 150 && pick(30) == 0) text += QChar(u'\0');
    }
    struct TWalk {
      QStringList Records;
      int Count = 0;
      QString Error;
      bool operator==(const TWalk&) const = default;
    };
    const auto walk = [&](int bufferChars, bool strings) {
      TStringReader r(text, bufferChars);
      r.SetFieldSeparatorCharCode(separator.unicode());
      r.SetIgnoreEmptyLines(round % 4 < 2);
      r.SetIgnoreSpecialCharacters(round % 2 == 0);
      r.SetASCIIonly(round % 5 == 4);
      r.SetFieldStrings(strings);
      TWalk w;
      w.Error = ErrorOf([&] {
        r.Open();
        while (!r.Eof()) {
          QStringList values;
          for (int i = 0; i < r.FieldCount(); ++i) {
            values << r.FieldView(i).toString();
            if (strings) {
              EXPECT_EQ(r.Fields(i).Value(), values.back());
            }
          }
          w.Records << values.join(u'|');
          w.Count = r.RecordCountProcessedSoFar();
          r.Next();
        }
      });
      return w;
    };
    const TWalk expected = walk(1, true);
    for (const int chars : {5, 16, 37, 512, 1 << 15}) {
      for (const bool strings : {true, false}) {
        EXPECT_TRUE(walk(chars, strings) == expected) << round << " " << chars << " " << strings;
      }
    }
  }
}

}  // namespace
}  // namespace krinu::test
