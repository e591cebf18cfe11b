#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <charconv>
#include <cmath>
#include <string>

#include "common/clock.h"
#include "content/recognisers.h"
#include "support/qt_printers.h"

static void PrintTo(const QDate& date, std::ostream* os) {
  *os << date.toString(Qt::ISODate).toStdString();
}

namespace krinu {
namespace {

QDate D(int y, int m, int d) {
  return QDate(y, m, d);
}

// Pins today's date for the "yy" window and restores the real clock afterwards.
class PinnedToday {
 public:
  explicit PinnedToday(QDate today) {
    Clock::SetTodayForTesting([today] { return today; });
  }
  ~PinnedToday() { Clock::SetTodayForTesting({}); }
};

// Month names of a chosen user locale for one test.
class PinnedLocale {
 public:
  explicit PinnedLocale(const QLocale& locale) { SetUserLocaleForTesting(locale); }
  ~PinnedLocale() { SetUserLocaleForTesting(std::nullopt); }
};

TEST(Recognisers, TrimAndDigitRatio) {
  EXPECT_EQ(TrimText(QStringLiteral("\t 12 34\r\n\x01")), QStringLiteral("12 34"));
  EXPECT_EQ(TrimText(QString(QChar(0xA0)) + QLatin1Char('x')),
            QString(QChar(0xA0)) + QLatin1Char('x'));  // above U+0020
  EXPECT_EQ(RemoveChar(QStringLiteral("1 234 567"), u' '), QStringLiteral("1234567"));

  EXPECT_EQ(DigitRatio(QString()), -1.0f);
  EXPECT_EQ(DigitRatio(QStringLiteral("   ")), -1.0f);
  EXPECT_EQ(DigitRatio(QStringLiteral("ABC-123")), 3.0f / 7.0f);
  EXPECT_EQ(DigitRatio(QStringLiteral(" 2020\t")), 1.0f);
  // Arabic-Indic three is a decimal digit, superscript two is not
  EXPECT_EQ(DigitRatio(QString(QChar(0x0663)) + QChar(0x00B2)), 0.5f);
  // a digit outside the BMP is two 16-bit units, neither a digit
  EXPECT_EQ(DigitRatio(QStringLiteral("1") + QString::fromUcs4(U"\U0001D7CE")), 1.0f / 3.0f);
}

TEST(Recognisers, IsAdoszam) {
  for (const char* good : {"12345678", "12345678-1-23", "12345678 1 23", "12345678123",
                           "12345678-123", "123456781-23", " 12345678-1-23 "})
    EXPECT_TRUE(IsAdoszam(QString::fromLatin1(good))) << good;
  for (const char* bad : {"1234567", "12345678-1", "12345678-1-2", "123456781-23-", "1234567A",
                          "HU12345678", "12345678--1-23", "12345678-1--23", ""})
    EXPECT_FALSE(IsAdoszam(QString::fromLatin1(bad))) << bad;
  EXPECT_FALSE(IsAdoszam(QString::fromUtf16(u"1234567\u0663")));  // ASCII digits only
}

// The hand-written matchers must say exactly what PCRE says for the two patterns.
TEST(Recognisers, MatchersEqualPcre) {
  PcreRegex adoszam(true), osszeg(true);
  ASSERT_TRUE(adoszam.SetPattern(QString::fromUtf16(AdoszamPattern)));
  ASSERT_TRUE(osszeg.SetPattern(QString::fromUtf16(OsszegPattern)));
  const auto check = [&](const QString& s) {
    ASSERT_EQ(MatchesAdoszamPattern(s), adoszam.Match(s)) << s.toStdString();
    ASSERT_EQ(MatchesOsszegPattern(s), osszeg.Match(s)) << s.toStdString();
  };
  // every string up to length 8 over a small alphabet
  const char16_t small[] = {u'7', u'-', u' ', u',', u'\n'};
  for (int length = 0; length <= 8; ++length) {
    int total = 1;
    for (int i = 0; i < length; ++i) total *= 5;
    for (int n = 0; n < total; ++n) {
      QString s;
      for (int i = 0, k = n; i < length; ++i, k /= 5) s += QChar(small[k % 5]);
      check(s);
    }
  }
  // random strings up to 16, mostly digits, with hyphens, blanks, letters and more
  const QString alphabet = QStringLiteral("0123456789012345678901234567890123456789- -  .,aZ\n\t") +
                           QChar(0x0663) + QChar(0xD800);
  QRandomGenerator random(20240305);
  for (int n = 0; n < 60000; ++n) {
    QString s;
    const int length = random.bounded(17);
    for (int i = 0; i < length; ++i) s += alphabet[random.bounded(int(alphabet.size()))];
    check(s);
    // and the shapes close to a tax number
    if (length >= 8) {
      s.replace(0, 8, QStringLiteral("12345678"));
      check(s);
    }
  }
}

TEST(Recognisers, ConvertOsszeg) {
  const auto hu = [](const char* text) {
    return ConvertOsszeg(QString::fromUtf8(text), u',', u'.');
  };
  EXPECT_EQ(hu("1 234 567,89"), 1234567.89);
  EXPECT_EQ(hu("1.234.567,89"), 1234567.89);
  EXPECT_EQ(hu("1,234.5"), 1.2345);
  EXPECT_EQ(hu("-12,5"), -12.5);
  EXPECT_EQ(hu("0,1"), 0.1);  // correctly rounded
  EXPECT_EQ(hu("5,"), 5.0);
  EXPECT_EQ(hu(",5"), 0.5);
  EXPECT_EQ(hu("1 000,00"), 1000.0);
  EXPECT_EQ(hu(" - 7 "), -7.0);
  for (const char* bad : {"12,5-", "", "   ", "1,2,3", "1e5", "-", ",", ".", "--5", "+5",
                          "1000,00 Ft", "1\t000", "12\n", "0x1F", "١"})
    EXPECT_FALSE(hu(bad).has_value()) << bad;
  EXPECT_EQ(ConvertOsszeg(QStringLiteral("1,234,567.89"), u'.', u','), 1234567.89);

  // 10^15 forints and more is no amount: it would be clamped into the return
  EXPECT_EQ(hu("-999 999 999 999 999"), -999999999999999.0);
  EXPECT_FALSE(hu("1 000 000 000 000 000").has_value());
  EXPECT_FALSE(hu("-1.000.000.000.000.000,00").has_value());
  const QString big = QStringLiteral("1") + QString(199, u'0');
  EXPECT_FALSE(ConvertOsszeg(big, u',', u'.').has_value());
  EXPECT_EQ(DetectOsszeg(big)->Value, 1e199);  // the column search still recognises it

  // long texts: one beyond double does not convert, a vanishing one is 0
  EXPECT_FALSE(ConvertOsszeg(QString(400, u'9'), u',', u'.').has_value());
  EXPECT_EQ(ConvertOsszeg(QStringLiteral("0,") + QString(400, u'0') + QLatin1Char('1'), u',', u'.'),
            0.0);
  const auto negativeTiny =
      ConvertOsszeg(QStringLiteral("-0,") + QString(400, u'0') + QLatin1Char('1'), u',', u'.');
  ASSERT_TRUE(negativeTiny.has_value());
  EXPECT_TRUE(std::signbit(*negativeTiny));
}

// The steps one by one, the slow way: blanks out, the pattern through PCRE, thousands
// separators out, the strict form, from_chars.
std::optional<double> ReferenceOsszeg(QString text, QChar decSep, QChar thousandSep) {
  text.remove(u' ');
  if (!PcreRegex::Matches(QString::fromUtf16(OsszegPattern), text)) return std::nullopt;
  text.remove(thousandSep);
  std::string plain;
  bool decimal = false;
  int digits = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (i == 0 && c == u'-') {
      plain += '-';
    } else if (c >= u'0' && c <= u'9') {
      plain += char(c.unicode());
      ++digits;
    } else if (c == decSep && !decimal) {
      plain += '.';
      decimal = true;
    } else {
      return std::nullopt;
    }
  }
  if (digits == 0) return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (error != std::errc() || end != plain.data() + plain.size()) return std::nullopt;
  if (std::fabs(value) >= kAmountBound) return std::nullopt;
  return value;
}

TEST(Recognisers, ConvertOsszegEqualsTheStepByStepConversion) {
  QRandomGenerator random(1989);
  const QString alphabet = QStringLiteral("00123456789 ..,,-\ne");
  const std::pair<QChar, QChar> separators[] = {
      {u',', u'.'}, {u'.', u','}, {u',', u' '}, {u'.', u'.'}, {u'\n', u'-'}};
  const auto check = [&](const QString& text) {
    for (const auto& [dec, thousand] : separators) {
      const auto got = ConvertOsszeg(text, dec, thousand);
      const auto expected = ReferenceOsszeg(text, dec, thousand);
      ASSERT_EQ(got.has_value(), expected.has_value()) << text.toStdString();
      if (got) {
        ASSERT_EQ(*got, *expected) << text.toStdString();
        ASSERT_EQ(std::signbit(*got), std::signbit(*expected)) << text.toStdString();
      }
    }
  };
  for (int n = 0; n < 40000; ++n) {
    QString text;
    const int length = random.bounded(31);
    for (int i = 0; i < length; ++i) text += alphabet[random.bounded(int(alphabet.size()))];
    check(text);
    // amounts with many significant digits, where rounding tells
    QString amount = QString::number(random.generate64() >> random.bounded(64));
    amount.insert(random.bounded(int(amount.size()) + 1), random.bounded(2) ? u',' : u'.');
    if (random.bounded(2)) amount.prepend(u'-');
    check(amount);
  }
}

TEST(Recognisers, DetectOsszeg) {
  TFormatSettings& settings = InputFormatSettings();

  auto guess = DetectOsszeg(QStringLiteral("1234.56"));  // "." taken as grouping
  ASSERT_TRUE(guess);
  EXPECT_EQ(guess->DecSep, u',');
  EXPECT_EQ(guess->Value, 123456.0);
  EXPECT_EQ(settings.DecimalSeparator, u',');
  EXPECT_EQ(settings.ThousandSeparator, u'.');

  guess = DetectOsszeg(QStringLiteral("1,234,567.89"));
  ASSERT_TRUE(guess);
  EXPECT_EQ(guess->DecSep, u'.');
  EXPECT_EQ(guess->Value, 1234567.89);
  EXPECT_EQ(settings.DecimalSeparator, u'.');
  EXPECT_EQ(settings.ThousandSeparator, u',');

  guess = DetectOsszeg(QStringLiteral("1.234,56"));
  ASSERT_TRUE(guess);
  EXPECT_EQ(guess->DecSep, u',');
  EXPECT_EQ(guess->Value, 1234.56);
  guess = DetectOsszeg(QStringLiteral("12 345"));
  ASSERT_TRUE(guess);
  EXPECT_EQ(guess->DecSep, u',');
  EXPECT_EQ(guess->Value, 12345.0);

  // a text off the pattern leaves the separators alone
  settings.DecimalSeparator = u'x';
  settings.ThousandSeparator = u'y';
  EXPECT_FALSE(DetectOsszeg(QStringLiteral("abc")));
  EXPECT_EQ(settings.DecimalSeparator, u'x');
  EXPECT_EQ(settings.ThousandSeparator, u'y');
  // on the pattern but neither reading converts: the separators stay at the second one
  EXPECT_FALSE(DetectOsszeg(QStringLiteral(",.,.")));
  EXPECT_EQ(settings.DecimalSeparator, u'.');
  EXPECT_EQ(settings.ThousandSeparator, u',');
}

TEST(Recognisers, SplitAndReadDatumNumber) {
  EXPECT_EQ(SplitDatumFormat(QStringLiteral("yyyy. mm")),
            QStringList({QStringLiteral("yyyy"), QStringLiteral(". "), QStringLiteral("mm")}));
  EXPECT_EQ(SplitDatumFormat(QStringLiteral("YYYY.MM.DD")),
            QStringList({QStringLiteral("YYYY."), QStringLiteral("MM"), QStringLiteral(".DD")}));
  EXPECT_EQ(SplitDatumFormat(QStringLiteral("Mmdd")),
            QStringList({QStringLiteral("M"), QStringLiteral("m"), QStringLiteral("dd")}));
  EXPECT_TRUE(SplitDatumFormat(QString()).isEmpty());

  const auto read = [](const char* text, qsizetype start, int minLen, int maxLen, int minValue,
                       int maxValue) -> std::pair<std::optional<int>, qsizetype> {
    qsizetype pos = start;
    const auto value =
        ReadDatumNumber(QString::fromLatin1(text), pos, minLen, maxLen, minValue, maxValue);
    return {value, pos};
  };
  using R = std::pair<std::optional<int>, qsizetype>;
  EXPECT_EQ(read("05", 0, 1, 2, 1, 12), R(5, 2));
  EXPECT_EQ(read("13", 0, 1, 2, 1, 12), R(1, 1));  // "13" too large, "1" stays
  EXPECT_EQ(read("0", 0, 1, 2, 1, 12), R(std::nullopt, 0));
  EXPECT_EQ(read("01", 0, 1, 2, 1, 12), R(1, 2));   // "0" too small does not stop the scan
  EXPECT_EQ(read("x 5", 1, 2, 2, 1, 31), R(5, 3));  // leading blank tolerated
  EXPECT_EQ(read("+5", 0, 2, 2, 1, 31), R(5, 2));
  EXPECT_EQ(read("5 ", 0, 1, 2, 1, 31), R(5, 1));  // trailing blank is not
  EXPECT_EQ(read("-5", 0, 1, 2, 1, 31), R(std::nullopt, 0));
  EXPECT_EQ(read("$1F", 0, 1, 3, 0, 9999), R(std::nullopt, 0));
  EXPECT_EQ(read("2020", 2, 4, 4, 0, 9999), R(std::nullopt, 2));  // too few characters left
}

TEST(Recognisers, ConvertDatumNumeric) {
  const auto convert = [](const char* text, const char* format) {
    return ConvertDatum(QString::fromUtf8(text), QString::fromUtf8(format));
  };
  EXPECT_EQ(convert("2020.03.03", "yyyy.mm.dd"), D(2020, 3, 3));
  EXPECT_EQ(convert("2020.03.03", "yyyy.MM.dd"), D(2020, 3, 3));
  EXPECT_EQ(convert("20200303", "YYYYMMDD"), D(2020, 3, 3));  // "YYYY", "DD" act as letters
  EXPECT_FALSE(convert("2020.03.03", "YYYY.MM.DD"));
  EXPECT_FALSE(convert("YYYY.03.DD", "YYYY.MM.DD"));  // literals, but no year or day
  EXPECT_EQ(convert("2020.3.3", "yyyy.m.d"), D(2020, 3, 3));
  EXPECT_FALSE(convert("2020.3.3", "yyyy.mm.dd"));
  EXPECT_EQ(convert("2020131", "yyyymd"), D(2020, 1, 31));  // month "13" too large: "1"
  EXPECT_EQ(convert("2020.03. 5", "yyyy.mm.dd"), D(2020, 3, 5));
  EXPECT_EQ(convert("2020-03-03", "yyyy-mm-dd"), D(2020, 3, 3));
  EXPECT_EQ(convert("2020. 03. 03.", "yyyy. mm. dd."), D(2020, 3, 3));

  EXPECT_FALSE(convert("2021.02.29", "yyyy.mm.dd"));
  EXPECT_EQ(convert("2020.02.29", "yyyy.mm.dd"), D(2020, 2, 29));
  EXPECT_FALSE(convert("2020.02.30", "yyyy.mm.dd"));
  EXPECT_FALSE(convert("2020.04.31", "yyyy.mm.dd"));
  EXPECT_FALSE(convert("0000.01.01", "yyyy.mm.dd"));  // no year 0
  EXPECT_FALSE(convert("2020.03.03 12:00", "yyyy.mm.dd"));
  EXPECT_FALSE(convert("2020.03.03", "yyyy.mm.dd.hh"));
  EXPECT_FALSE(convert("Monday 03", "dddd dd"));
  EXPECT_FALSE(convert("Mon 03", "ddd dd"));
  EXPECT_FALSE(convert("2020.03", "yyyy.mm"));  // no day
  EXPECT_FALSE(convert("020.03.03", "yyy.mm.dd"));
  EXPECT_FALSE(convert("2020 mmmmm 03", "yyyy mmmmm dd"));  // literal, and no month
  EXPECT_FALSE(convert("2020x03x03", "yyyyXmmXdd"));        // literals are case-sensitive
  EXPECT_FALSE(convert("", "yyyy"));
  EXPECT_FALSE(convert("2020", ""));

  // the load's form: the format split once, many values
  const TDatumFormat format(QStringLiteral("dd/mm/yyyy"));
  EXPECT_EQ(format.Convert(QStringLiteral("15/03/2020")), D(2020, 3, 15));
  EXPECT_FALSE(format.Convert(QStringLiteral("15/03/2020 ")));
  EXPECT_FALSE(TDatumFormat().Convert(QStringLiteral("15/03/2020")));
}

// Every day of some telling years, valid or not, as QDate has it.
TEST(Recognisers, ConvertDatumCalendar) {
  const TDatumFormat format(QStringLiteral("yyyy.mm.dd"));
  for (int year : {0, 1, 4, 99, 100, 400, 1582, 1600, 1899, 1900, 2000, 2023, 2024, 2100, 9999}) {
    for (int month = 0; month <= 13; ++month) {
      for (int day = 0; day <= 32; ++day) {
        const QString text = QStringLiteral("%1.%2.%3")
                                 .arg(year, 4, 10, QLatin1Char('0'))
                                 .arg(month, 2, 10, QLatin1Char('0'))
                                 .arg(day, 2, 10, QLatin1Char('0'));
        const QDate expected(year, month, day);
        const std::optional<QDate> got = format.Convert(text);
        ASSERT_EQ(got.has_value(), expected.isValid()) << text.toStdString();
        if (got) {
          ASSERT_EQ(*got, expected) << text.toStdString();
        }
      }
    }
  }
}

TEST(Recognisers, TwoDigitYearWindow) {
  const auto convert = [](const char* text) {
    return ConvertDatum(QString::fromLatin1(text), QStringLiteral("yymmdd"));
  };
  {
    PinnedToday today(D(2024, 6, 1));
    EXPECT_EQ(convert("210315"), D(2021, 3, 15));
    EXPECT_EQ(convert("740101"), D(1974, 1, 1));    // Y - 50
    EXPECT_EQ(convert("731231"), D(2073, 12, 31));  // Y + 49
    EXPECT_EQ(convert("000229"), D(2000, 2, 29));
  }
  for (int year : {1972, 2071}) {
    PinnedToday today(D(year, 1, 1));
    EXPECT_EQ(convert("210315"), D(2021, 3, 15)) << year;
  }
  {
    PinnedToday today(D(1971, 12, 31));
    EXPECT_EQ(convert("210315"), D(1921, 3, 15));
  }
  {
    PinnedToday today(D(2072, 1, 1));
    EXPECT_EQ(convert("210315"), D(2121, 3, 15));
  }
}

TEST(Recognisers, MonthNames) {
  const auto convert = [](const QString& text, const char* format) {
    return ConvertDatum(text, QString::fromLatin1(format));
  };
  // English names always serve, in any case
  EXPECT_EQ(convert(QStringLiteral("2020 March 03"), "yyyy mmmm dd"), D(2020, 3, 3));
  EXPECT_EQ(convert(QStringLiteral("2020 MARCH 03"), "yyyy MMMM dd"), D(2020, 3, 3));
  EXPECT_EQ(convert(QStringLiteral("2020 march 03"), "yyyy mmmm dd"), D(2020, 3, 3));
  EXPECT_EQ(convert(QStringLiteral("05-Dec-2019"), "dd-mmm-yyyy"), D(2019, 12, 5));
  EXPECT_FALSE(convert(QStringLiteral("2020 Marc 03"), "yyyy mmmm dd"));
  EXPECT_FALSE(convert(QStringLiteral("2020 Mar 03"), "yyyy mmmm dd"));

  // whatever the system locale is, its own names convert
  const QLocale system = QLocale::system();
  for (int m = 1; m <= 12; ++m) {
    const QString longName = system.standaloneMonthName(m, QLocale::LongFormat);
    const QString shortName = system.standaloneMonthName(m, QLocale::ShortFormat);
    EXPECT_EQ(convert(QStringLiteral("2020 ") + longName + QStringLiteral(" 03"), "yyyy mmmm dd"),
              D(2020, m, 3))
        << m;
    EXPECT_EQ(convert(QStringLiteral("2020 ") + shortName.toUpper() + QStringLiteral(" 03"),
                      "yyyy mmm dd"),
              D(2020, m, 3))
        << m;
  }

  // a Hungarian user: accented names, upper-cased with their accents, English as fallback
  PinnedLocale hungarian(QLocale(QLocale::Hungarian, QLocale::Hungary));
  EXPECT_EQ(convert(QStringLiteral("2020 március 03"), "yyyy mmmm dd"), D(2020, 3, 3));
  EXPECT_EQ(convert(QStringLiteral("2020 MÁRCIUS 03"), "yyyy mmmm dd"), D(2020, 3, 3));
  EXPECT_FALSE(convert(QStringLiteral("2020 MARCIUS 03"), "yyyy mmmm dd"));
  EXPECT_EQ(convert(QStringLiteral("2020 márc. 03"), "yyyy mmm dd"), D(2020, 3, 3));
  EXPECT_EQ(convert(QStringLiteral("2020 szept. 30"), "yyyy mmm dd"), D(2020, 9, 30));
  EXPECT_EQ(convert(QStringLiteral("2020 March 03"), "yyyy mmmm dd"), D(2020, 3, 3));
  EXPECT_EQ(convert(QStringLiteral("2020 Sep 30"), "yyyy mmm dd"), D(2020, 9, 30));
  const auto guess = DetectDatumFormat(QStringLiteral("2020 márc. 05"));
  ASSERT_TRUE(guess);
  EXPECT_EQ(guess->Format, QStringLiteral("yyyy mmm dd"));
}

TEST(Recognisers, DetectDatumFormat) {
  PinnedToday today(D(2024, 6, 1));
  const auto format = [](const char* text) -> QString {
    const auto guess = DetectDatumFormat(QString::fromUtf8(text));
    return guess ? guess->Format : QStringLiteral("-");
  };
  EXPECT_EQ(format("2020.03.03"), QStringLiteral("yyyy.mm.dd"));
  EXPECT_EQ(format("  2020/03/03 "), QStringLiteral("yyyy/mm/dd"));
  EXPECT_EQ(format("2020 03 03"), QStringLiteral("yyyy mm dd"));
  EXPECT_EQ(format("2020 March 05"), QStringLiteral("yyyy mmmm dd"));
  EXPECT_EQ(format("2020 Mar 05"), QStringLiteral("yyyy mmm dd"));
  EXPECT_EQ(format("15.03.2020"), QStringLiteral("dd.mm.yyyy"));
  EXPECT_EQ(format("13.04.2020"), QStringLiteral("dd.mm.yyyy"));
  EXPECT_EQ(format("03/15/2020"), QStringLiteral("mm/dd/yyyy"));
  EXPECT_EQ(format("20200315"), QStringLiteral("yyyymmdd"));
  EXPECT_EQ(format("200315"), QStringLiteral("yymmdd"));

  EXPECT_EQ(format("03.04.2020"), QStringLiteral("-"));  // either order
  EXPECT_EQ(format("2020-03-03"), QStringLiteral("-"));  // "-" is not in the class
  EXPECT_EQ(format("2020.03/03"), QStringLiteral("-"));
  EXPECT_EQ(format("2020. 03. 03"), QStringLiteral("-"));
  EXPECT_EQ(format("20201315"), QStringLiteral("-"));
  EXPECT_EQ(format("2020.03.03 12:00"), QStringLiteral("-"));  // the first match decides
  EXPECT_EQ(format("2020 Foo 05"), QStringLiteral("-"));
  EXPECT_EQ(format("32.13.2020"), QStringLiteral("-"));
  EXPECT_EQ(format(""), QStringLiteral("-"));

  // the separator found, also in the input settings
  auto guess = DetectDatumFormat(QStringLiteral("15/03/2020"));
  ASSERT_TRUE(guess);
  EXPECT_EQ(guess->Separator, u'/');
  EXPECT_EQ(InputFormatSettings().DateSeparator, u'/');
  guess = DetectDatumFormat(QStringLiteral("20200315"));
  ASSERT_TRUE(guess);
  EXPECT_EQ(guess->Separator, u' ');
  EXPECT_EQ(InputFormatSettings().DateSeparator, u'/');  // left as it was
}

TEST(Recognisers, DateConversionTestPanel) {
  InputFormatSettings().DateSeparator = u'/';
  EXPECT_EQ(DateConversionTestText(QStringLiteral("2020.03.03"), QStringLiteral("yyyy.mm.dd")),
            QStringLiteral("2020/") +
                QLocale::system().standaloneMonthName(3, QLocale::ShortFormat) +
                QStringLiteral("/03"));
  EXPECT_EQ(DateConversionTestText(QStringLiteral("2020.03.33"), QStringLiteral("yyyy.mm.dd")),
            QStringLiteral("??"));
  PinnedLocale hungarian(QLocale(QLocale::Hungarian, QLocale::Hungary));
  InputFormatSettings().DateSeparator = u'.';
  EXPECT_EQ(DateConversionTestText(QStringLiteral("0202.09.07"), QStringLiteral("yyyy.mm.dd")),
            QStringLiteral("0202.szept..07"));
}

TEST(Recognisers, SharedRegexIsCaseInsensitive) {
  PcreRegex& regex = SharedRegex();
  ASSERT_TRUE(regex.SetPattern(QString::fromUtf16(CegnevPattern)));
  EXPECT_TRUE(regex.Match(QStringLiteral("ACME KFT.")));
  EXPECT_TRUE(regex.Match(QStringLiteral("Zuhanó KORLÁTOLT Felelősségű Társaság")));
  EXPECT_TRUE(regex.Match(QStringLiteral("Müller GmbH")));
  EXPECT_FALSE(regex.Match(QStringLiteral("Kftx Btk")));  // word boundaries
  EXPECT_FALSE(regex.Match(QStringLiteral("Kovács János")));
}

}  // namespace
}  // namespace krinu
