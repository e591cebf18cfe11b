#include "content/recognisers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "common/clock.h"
#include "common/text_util.h"

namespace krinu {

const char16_t* const CegnevPattern =
    u"\\bKft\\b|\\bBt\\b|\\bRt\\b|\\bZrt\\b|Korlátolt|Betéti|Társaság|részvény|\\bLtd\\b|Limited|"
    u"\\bCo\\b|\\bPlc\\b|Corporation|Company|Association|\\bGmbh\\b|Gesellschaft|Haftung|"
    u"Kompanie|\\bAG\\b|Aktiengesellschaft";

const char16_t* const DatumPatterns[5] = {
    u"^\\d\\d\\d\\d[.-/ ]\\d\\d[.-/ ]\\d\\d",
    u"^\\d\\d\\d\\d[.-/ ][^\\d]{3,9}[.-/ ]\\d\\d",
    u"^\\d\\d[.-/ ]\\d\\d[.-/ ]\\d\\d\\d\\d",
    u"^\\d\\d\\d\\d\\d\\d\\d\\d",
    u"^\\d\\d\\d\\d\\d\\d",
};

namespace {

bool IsAsciiDigit(QChar c) {
  return c >= u'0' && c <= u'9';
}

std::optional<QLocale>& PinnedLocale() {
  static std::optional<QLocale> locale;
  return locale;
}

// Upper-cased month names, built once: the user locale's first, then the English ones.
struct TMonthName {
  QString upper;
  qsizetype length = 0;  // of the name as the locale gives it: the piece of text compared
};
struct TMonthNames {
  TMonthName user[2][12];  // [0] long, [1] short
  TMonthName english[2][12];
};

std::optional<TMonthNames>& MonthNameCache() {
  static std::optional<TMonthNames> cache;
  return cache;
}

// The nominative (stand-alone) names: what the locale's month lists hold and what a
// date written on its own uses.
void FillNames(const QLocale& locale, TMonthName (&names)[2][12]) {
  for (int form = 0; form < 2; ++form) {
    for (int m = 1; m <= 12; ++m) {
      const QString name =
          locale.standaloneMonthName(m, form == 0 ? QLocale::LongFormat : QLocale::ShortFormat);
      names[form][m - 1] = {name.toUpper(), name.size()};
    }
  }
}

const TMonthNames& MonthNames() {
  auto& cache = MonthNameCache();
  if (!cache) {
    cache.emplace();
    FillNames(UserLocale(), cache->user);
    FillNames(QLocale(QLocale::English, QLocale::UnitedStates), cache->english);
  }
  return *cache;
}

// piece upper-cased equals upperName; ASCII is compared in place so that an English name
// costs no allocation on every value.
bool UpperEquals(QStringView piece, const QString& upperName) {
  for (QChar c : piece)
    if (c.unicode() >= 0x80) return piece.toString().toUpper() == upperName;
  if (piece.size() != upperName.size()) return false;  // ASCII keeps its length
  for (qsizetype i = 0; i < piece.size(); ++i) {
    const char16_t c = piece[i].unicode();
    const char16_t upper = (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
    if (upper != upperName[i].unicode()) return false;
  }
  return true;
}

std::optional<int> ReadMonthName(QStringView text, qsizetype& pos, int form) {
  const TMonthNames& names = MonthNames();
  for (const auto* list : {&names.user[form], &names.english[form]}) {
    for (int m = 0; m < 12; ++m) {
      const TMonthName& name = (*list)[m];
      if (name.length == 0) continue;  // an empty name would match anywhere
      const QStringView piece = text.mid(pos, name.length);
      if (piece.size() == name.length && UpperEquals(piece, name.upper)) {
        pos += name.length;
        return m + 1;
      }
    }
  }
  return std::nullopt;
}

// The strict integer conversion: optional leading blanks, an optional sign, decimal digits,
// nothing else.
std::optional<int> StrictInt(QStringView piece) {
  qsizetype i = 0;
  while (i < piece.size() && piece[i] == u' ') ++i;
  bool negative = false;
  if (i < piece.size() && (piece[i] == u'-' || piece[i] == u'+')) negative = piece[i++] == u'-';
  if (i == piece.size()) return std::nullopt;
  qint64 value = 0;
  for (; i < piece.size(); ++i) {
    if (!IsAsciiDigit(piece[i])) return std::nullopt;
    value = value * 10 + (piece[i].unicode() - u'0');
    if (value > qint64(std::numeric_limits<int>::max()) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int>::max()) return std::nullopt;
  return int(value);
}

// Reads a numeric date part from p (avail characters left): the length read, 0 when the
// part fails.
inline int ReadNumberAt(const char16_t* p, qsizetype avail, int minLen, int maxLen, int minValue,
                        int maxValue, int& result) {
  int foundLen = 0;
  if (minLen == maxLen && minLen >= 1 && minLen <= 9 && avail >= minLen &&
      char16_t(p[0] - u'0') <= 9) {
    // "yyyy", "mm", "dd": one length only, all digits
    int value = 0;
    for (int k = 0; k < minLen; ++k) {
      const char16_t digit = char16_t(p[k] - u'0');
      if (digit > 9) return 0;
      value = value * 10 + digit;
    }
    if (value > maxValue || value < minValue) return 0;
    result = value;
    return minLen;
  }
  if (minLen >= 1 && avail > 0 && char16_t(p[0] - u'0') <= 9) {
    // The common case, a piece that starts with a digit: it converts only while it is all
    // digits, so each length adds one digit to the value of the one before.
    qint64 value = 0;
    const qsizetype last = std::min<qsizetype>(maxLen, avail);
    for (int len = 1; len <= last; ++len) {
      const char16_t digit = char16_t(p[len - 1] - u'0');
      if (digit > 9) break;
      value = value * 10 + digit;
      if (value > maxValue) break;
      if (len >= minLen && value >= minValue) {
        result = int(value);
        foundLen = len;
      }
    }
    return foundLen;
  }
  for (int len = std::max(minLen, 0); len <= maxLen && len <= avail; ++len) {
    const std::optional<int> value = StrictInt(QStringView(p, len));
    if (!value || *value > maxValue) break;
    if (*value >= minValue) {
      result = *value;
      foundLen = len;
    }
  }
  return foundLen;
}

// One pass over the text with blanks skipped (skipBlanks) checks OsszegPattern. PCRE's "$"
// also matches before a final line feed, so one is allowed at the end.
bool OsszegShape(QStringView text, bool skipBlanks) {
  qsizetype end = text.size();
  if (skipBlanks)
    while (end > 0 && text[end - 1] == u' ') --end;
  if (end > 0 && text[end - 1] == u'\n') --end;
  bool first = true;
  qsizetype body = 0;
  for (qsizetype i = 0; i < end; ++i) {
    const QChar c = text[i];
    if (skipBlanks && c == u' ') continue;
    if (first && c == u'-') {
      first = false;
      continue;
    }
    first = false;
    if (!IsAsciiDigit(c) && c != u'.' && c != u',') return false;
    ++body;
  }
  return body > 0;
}

// The date of a year, month and day, or none: no year 0, no 31 April, no 29 February of a
// common year. Computed here because QDate's own checks cost more than the rest of a
// conversion; the day number is QDate's (proleptic Gregorian).
std::optional<QDate> MakeDate(int year, int month, int day) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || month < 1 || month > 12 || day < 1) return std::nullopt;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (day > kDays[month - 1] + (month == 2 && leap)) return std::nullopt;
  const int a = (14 - month) / 12;
  const qint64 y = qint64(year) + 4800 - a;
  const int m = month + 12 * a - 3;
  return QDate::fromJulianDay(day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 -
                              32045);
}

constexpr qsizetype kStackDigits = 96;

// The powers of ten that a double holds exactly.
constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                             1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

}  // namespace

TFormatSettings& InputFormatSettings() {
  static TFormatSettings settings = [] {
    const QLocale locale = UserLocale();
    TFormatSettings s;
    const QString dec = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    s.DecimalSeparator = dec.isEmpty() ? QChar(u',') : dec[0];
    s.ThousandSeparator = group.isEmpty() ? QChar(u'.') : group[0];
    // the first character between the parts of the short date format
    s.DateSeparator = QChar(u'.');
    for (QChar c : locale.dateFormat(QLocale::ShortFormat)) {
      if (!c.isLetter() && c != u'\'') {
        s.DateSeparator = c;
        break;
      }
    }
    return s;
  }();
  return settings;
}

PcreRegex& SharedRegex() {
  static PcreRegex regex(true);
  return regex;
}

QLocale UserLocale() {
  return PinnedLocale() ? *PinnedLocale() : QLocale::system();
}

void SetUserLocaleForTesting(std::optional<QLocale> locale) {
  PinnedLocale() = std::move(locale);
  MonthNameCache().reset();
}

QStringView TrimView(QStringView text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && text[begin].unicode() <= 0x20) ++begin;
  while (end > begin && text[end - 1].unicode() <= 0x20) --end;
  return text.sliced(begin, end - begin);
}

QString TrimText(const QString& text) {
  const QStringView trimmed = TrimView(text);
  return trimmed.size() == text.size() ? text : trimmed.toString();
}

QString RemoveChar(const QString& text, QChar c) {
  QString result = text;
  result.remove(c);
  return result;
}

float DigitRatio(const QString& text) {
  const QStringView trimmed = TrimView(text);
  if (trimmed.isEmpty()) return -1;
  qsizetype digits = 0;
  for (QChar c : trimmed)
    if (IsAsciiDigit(c) || (c.unicode() > 255 && c.category() == QChar::Number_DecimalDigit))
      ++digits;
  return static_cast<float>(digits) / static_cast<float>(trimmed.size());
}

bool MatchesAdoszamPattern(QStringView text) {
  // "$" also matches before a final line feed
  if (text.endsWith(u'\n')) text.chop(1);
  const qsizetype n = text.size();
  if (n != 8 && (n < 11 || n > 13)) return false;
  for (qsizetype i = 0; i < 8; ++i)
    if (!IsAsciiDigit(text[i])) return false;
  if (n == 8) return true;
  const auto isSep = [](QChar c) { return c == u'-' || c == u' '; };
  qsizetype i = 8;
  if (isSep(text[i])) ++i;
  if (!IsAsciiDigit(text[i])) return false;
  ++i;
  if (i < n && isSep(text[i])) ++i;
  return n - i == 2 && IsAsciiDigit(text[i]) && IsAsciiDigit(text[i + 1]);
}

bool MatchesOsszegPattern(QStringView text) {
  return OsszegShape(text, false);
}

bool IsAdoszam(const QString& text) {
  return MatchesAdoszamPattern(TrimView(text));
}

std::optional<double> ConvertOsszeg(const QString& text, QChar decSep, QChar thousandSep) {
  return ConvertOsszeg(QStringView(text), decSep, thousandSep);
}

namespace {

// The amount conversion for any pair of separators and any text.
std::optional<double> ConvertOsszegGeneral(QStringView text, QChar decSep, QChar thousandSep) {
  // One pass does all three steps: blanks are skipped as they come, the pattern is checked
  // on the others, and the digits left after the thousands separators are gathered into an
  // integer. Any failure on the way is the same failure.
  const char16_t* p = text.utf16();
  const qsizetype n = text.size();
  const char16_t dec = decSep.unicode();
  const char16_t thousand = thousandSep.unicode();
  qsizetype seen = 0;     // characters other than blanks
  qsizetype body = 0;     // the pattern's digits, "." and ","
  bool lineFeed = false;  // PCRE's "$" also matches before a final line feed
  qsizetype kept = 0;     // characters other than blanks and thousands separators
  qsizetype digits = 0;
  bool negative = false;
  bool decimal = false;
  quint64 mantissa = 0;  // the significant digits, while 19 fit
  int significant = 0;
  bool exact = true;
  int fraction = 0;  // digits after the decimal separator
  bool integerPartNonZero = false;
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t c = p[i];
    if (c == u' ') continue;
    if (lineFeed) return std::nullopt;  // the line feed was not the last
    const bool first = seen++ == 0;
    const char16_t digit = char16_t(c - u'0');
    if (digit <= 9 || c == u'.' || c == u',') {
      ++body;
    } else if (c == u'\n') {
      lineFeed = true;
    } else if (!(first && c == u'-')) {
      return std::nullopt;
    }
    if (c == thousand) continue;
    if (kept++ == 0 && c == u'-') {
      negative = true;
    } else if (digit <= 9) {
      ++digits;
      if (decimal)
        ++fraction;
      else if (digit)
        integerPartNonZero = true;
      if (mantissa || digit) {
        if (significant < 19) {
          mantissa = mantissa * 10 + digit;
          ++significant;
        } else {
          exact = false;
        }
      }
    } else if (c == dec && !decimal) {
      decimal = true;
    } else {
      return std::nullopt;
    }
  }
  if (body == 0 || digits == 0) return std::nullopt;

  // An integer of at most 53 bits over an exact power of ten: the one division is
  // correctly rounded, as from_chars would give it.
  if (exact && mantissa <= (quint64(1) << 53) && fraction <= 22) {
    const double value = double(mantissa) / kPow10[fraction];
    return negative ? -value : value;
  }

  // Otherwise the text again as "-ddd.ddd" for from_chars (no locale); hundreds of digits
  // take the heap.
  char stackBuffer[kStackDigits];
  std::string heapBuffer;
  char* buffer = stackBuffer;
  if (n > kStackDigits) {
    heapBuffer.resize(size_t(n));
    buffer = heapBuffer.data();
  }
  qsizetype length = 0;
  if (negative) buffer[length++] = '-';
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t c = p[i];
    if (c == u' ' || c == thousand) continue;
    if (char16_t(c - u'0') <= 9)
      buffer[length++] = char(c);
    else if (c == dec)
      buffer[length++] = '.';
  }
  double value = 0;
  const auto [end, error] = std::from_chars(buffer, buffer + length, value);
  if (end != buffer + length) return std::nullopt;
  if (error == std::errc::result_out_of_range) {
    if (integerPartNonZero) return std::nullopt;  // too large: not a finite amount
    value = negative ? -0.0 : 0.0;                // too small: nothing left of it
  } else if (error != std::errc()) {
    return std::nullopt;
  }
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<double> ConvertOsszegAnyMagnitude(QStringView text, QChar decSep, QChar thousandSep) {
  // The load's case first: "," and "." as separators, digits, blanks and at most one decimal
  // separator, an optional leading minus, no more than 19 significant digits. Anything else
  // (a line feed, a misplaced minus, a long or odd text) goes the general way.
  const char16_t dec = decSep.unicode();
  const char16_t thousand = thousandSep.unicode();
  if (!((dec == u',' && thousand == u'.') || (dec == u'.' && thousand == u','))) {
    return ConvertOsszegGeneral(text, decSep, thousandSep);
  }
  const char16_t* p = text.utf16();
  const qsizetype n = text.size();
  qsizetype i = 0;
  while (i < n && p[i] == u' ') ++i;
  const bool negative = i < n && p[i] == u'-';
  if (negative) ++i;
  quint64 mantissa = 0;
  int significant = 0;
  int fraction = 0;
  int digits = 0;
  bool decimal = false;
  for (; i < n; ++i) {
    const char16_t c = p[i];
    const char16_t digit = char16_t(c - u'0');
    if (digit <= 9) {
      if (significant == 19) return ConvertOsszegGeneral(text, decSep, thousandSep);
      mantissa = mantissa * 10 + digit;
      significant += mantissa != 0;
      fraction += decimal;
      ++digits;
    } else if (c == u' ' || c == thousand) {
      continue;
    } else if (c == dec && !decimal) {
      decimal = true;
    } else {
      return ConvertOsszegGeneral(text, decSep, thousandSep);
    }
  }
  if (digits == 0) return std::nullopt;
  if (mantissa > (quint64(1) << 53) || fraction > 22)
    return ConvertOsszegGeneral(text, decSep, thousandSep);
  const double value = double(mantissa) / kPow10[fraction];
  return negative ? -value : value;
}

}  // namespace

std::optional<double> ConvertOsszeg(QStringView text, QChar decSep, QChar thousandSep) {
  const std::optional<double> value = ConvertOsszegAnyMagnitude(text, decSep, thousandSep);
  if (value && !(std::fabs(*value) < kAmountBound)) return std::nullopt;
  return value;
}

std::optional<TOsszegGuess> DetectOsszeg(const QString& text) {
  if (!OsszegShape(text, true)) return std::nullopt;
  TFormatSettings& settings = InputFormatSettings();
  // The comma reading first: "1234.56" is taken as 123456 with "." grouping.
  settings.DecimalSeparator = u',';
  settings.ThousandSeparator = u'.';
  // The column search recognises an amount by its shape, whatever its size.
  if (const auto value = ConvertOsszegAnyMagnitude(text, u',', u'.'))
    return TOsszegGuess{u',', *value};
  settings.DecimalSeparator = u'.';
  settings.ThousandSeparator = u',';
  if (const auto value = ConvertOsszegAnyMagnitude(text, u'.', u','))
    return TOsszegGuess{u'.', *value};
  return std::nullopt;
}

QStringList SplitDatumFormat(const QString& format) {
  const auto isLetter = [](QChar c) { return c == u'y' || c == u'm' || c == u'M' || c == u'd'; };
  QStringList tokens;
  qsizetype i = 0;
  while (i < format.size()) {
    const qsizetype start = i;
    const QChar c = format[i];
    if (isLetter(c)) {
      while (i < format.size() && format[i] == c) ++i;
    } else {
      while (i < format.size() && !isLetter(format[i])) ++i;
    }
    tokens << format.mid(start, i - start);
  }
  return tokens;
}

std::optional<int> ReadDatumNumber(const QString& text, qsizetype& pos, int minLen, int maxLen,
                                   int minValue, int maxValue) {
  if (pos < 0 || pos > text.size()) return std::nullopt;
  int value = 0;
  const int length = ReadNumberAt(QStringView(text).utf16() + pos, text.size() - pos, minLen,
                                  maxLen, minValue, maxValue, value);
  if (length == 0) return std::nullopt;
  pos += length;
  return value;
}

TDatumFormat::TDatumFormat(const QString& format) : format_(format) {
  bool twoDigitYear = false;
  for (const QString& piece : SplitDatumFormat(format)) {
    // Every token, literal ones included, is looked up lower-cased: "YYYY" acts as "yyyy".
    const QString key = piece.toLower();
    const auto number = [](Kind kind, int minLen, int maxLen, int minValue, int maxValue) {
      return Token{kind, minLen, maxLen, minValue, maxValue, QString()};
    };
    if (key == u"mmmm") {
      tokens_.push_back(number(Kind::MonthLong, 0, 0, 0, 0));
    } else if (key == u"mmm") {
      tokens_.push_back(number(Kind::MonthShort, 0, 0, 0, 0));
    } else if (key == u"mm") {
      tokens_.push_back(number(Kind::Month, 2, 2, 1, 12));
    } else if (key == u"m") {
      tokens_.push_back(number(Kind::Month, 1, 2, 1, 12));
    } else if (key == u"dddd" || key == u"ddd" || key == u"yyy" || key == u"y") {
      tokens_.push_back(
          number(Kind::Fail, 0, 0, 0, 0));  // weekday names and odd years are not read
    } else if (key == u"dd") {
      tokens_.push_back(number(Kind::Day, 2, 2, 1, 31));
    } else if (key == u"d") {
      tokens_.push_back(number(Kind::Day, 1, 2, 1, 31));
    } else if (key == u"yyyy") {
      tokens_.push_back(number(Kind::Year, 4, 4, 0, 9999));
    } else if (key == u"yy") {
      tokens_.push_back(number(Kind::TwoDigitYear, 2, 2, 0, 99));
      twoDigitYear = true;
    } else {
      Token literal;
      literal.text = piece;
      tokens_.push_back(std::move(literal));
    }
  }
  if (twoDigitYear) currentYear_ = Clock::Today().year();
}

std::optional<QDate> TDatumFormat::Convert(const QString& text) const {
  return Convert(QStringView(text));
}

std::optional<QDate> TDatumFormat::Convert(QStringView text) const {
  if (text.isEmpty() || tokens_.empty()) return std::nullopt;
  const char16_t* p = text.utf16();
  const qsizetype n = text.size();
  int year = -1, month = -1, day = -1;  // -1: not read
  qsizetype pos = 0;
  for (const Token& token : tokens_) {
    switch (token.kind) {
      case Kind::Literal: {
        const qsizetype length = token.text.size();
        if (n - pos < length) return std::nullopt;
        if (length == 1 ? p[pos] != token.text.front().unicode()
                        : QStringView(p + pos, length) != token.text)
          return std::nullopt;
        pos += length;
        break;
      }
      case Kind::Fail:
        return std::nullopt;
      case Kind::MonthLong:
      case Kind::MonthShort: {
        const std::optional<int> m =
            ReadMonthName(text, pos, token.kind == Kind::MonthLong ? 0 : 1);
        if (!m) return std::nullopt;
        month = *m;
        break;
      }
      default: {
        int value = 0;
        const int length = ReadNumberAt(p + pos, n - pos, token.minLen, token.maxLen,
                                        token.minValue, token.maxValue, value);
        if (length == 0) return std::nullopt;
        pos += length;
        if (token.kind == Kind::Month) {
          month = value;
        } else if (token.kind == Kind::Day) {
          day = value;
        } else if (token.kind == Kind::Year) {
          year = value;
        } else {
          // the year with these last two digits in [current - 50, current + 49]
          const int first = currentYear_ - 50;
          year = first + ((value - first) % 100 + 100) % 100;
        }
      }
    }
  }
  if (pos != n) return std::nullopt;
  return MakeDate(year, month, day);  // an unread part (-1) makes no date
}

std::optional<QDate> ConvertDatum(const QString& text, const QString& format) {
  return TDatumFormat(format).Convert(text);
}

std::optional<TDatumGuess> DetectDatumFormat(const QString& text) {
  static PcreRegex patterns[5];
  static const bool compiled = [] {
    for (int i = 0; i < 5; ++i) patterns[i].SetPattern(QString::fromUtf16(DatumPatterns[i]));
    return true;
  }();
  (void)compiled;

  const QString trimmed = TrimText(text);
  int which = -1;
  for (int i = 0; i < 5 && which < 0; ++i)
    if (patterns[i].Match(trimmed)) which = i;
  if (which < 0) return std::nullopt;

  // the first matching pattern decides, also when its format does not convert
  const auto converts = [&](const QString& format) {
    return ConvertDatum(trimmed, format).has_value();
  };
  QChar& dateSeparator = InputFormatSettings().DateSeparator;
  const auto build = [](const char* a, QChar c, const char* b, const char* d) -> QString {
    return QLatin1String(a) + c + QLatin1String(b) + c + QLatin1String(d);
  };
  switch (which) {
    case 0: {
      const QChar c = trimmed[4];
      if (trimmed[7] != c) return std::nullopt;
      dateSeparator = c;
      const QString format = build("yyyy", c, "mm", "dd");
      if (converts(format)) return TDatumGuess{format, c};
      return std::nullopt;
    }
    case 1: {
      const QChar c = trimmed[4];
      if (trimmed[trimmed.size() - 3] != c) return std::nullopt;
      dateSeparator = c;
      for (const QString& format : {build("yyyy", c, "mmmm", "dd"), build("yyyy", c, "mmm", "dd")})
        if (converts(format)) return TDatumGuess{format, c};
      return std::nullopt;
    }
    case 2: {
      const QChar c = trimmed[2];
      if (trimmed[5] != c) return std::nullopt;
      dateSeparator = c;
      const QString md = build("mm", c, "dd", "yyyy");
      const QString dm = build("dd", c, "mm", "yyyy");
      if (converts(md)) {
        if (converts(dm)) return std::nullopt;  // 03.04.2020: either order
        return TDatumGuess{md, c};
      }
      if (converts(dm)) return TDatumGuess{dm, c};
      return std::nullopt;
    }
    case 3:
      if (converts(QStringLiteral("yyyymmdd")))
        return TDatumGuess{QStringLiteral("yyyymmdd"), u' '};
      return std::nullopt;
    default:
      if (converts(QStringLiteral("yymmdd"))) return TDatumGuess{QStringLiteral("yymmdd"), u' '};
      return std::nullopt;
  }
}

QString DateConversionTestText(const QString& text, const QString& format) {
  const std::optional<QDate> date = ConvertDatum(text, format);
  if (!date) return QStringLiteral("??");
  const QChar separator = InputFormatSettings().DateSeparator;
  return ZeroPadded(date->year(), 4) + separator +
         UserLocale().standaloneMonthName(date->month(), QLocale::ShortFormat) + separator +
         ZeroPadded(date->day(), 2);
}

}  // namespace krinu
