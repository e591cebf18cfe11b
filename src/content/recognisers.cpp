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
struct TMonthNames {
  QString user[2][12];  // [0] long, [1] short
  QString english[2][12];
};

std::optional<TMonthNames>& MonthNameCache() {
  static std::optional<TMonthNames> cache;
  return cache;
}

// The nominative (stand-alone) names: what the locale's month lists hold and what a
// date written on its own uses.
void FillNames(const QLocale& locale, QString (&names)[2][12]) {
  for (int m = 1; m <= 12; ++m) {
    names[0][m - 1] = locale.standaloneMonthName(m, QLocale::LongFormat).toUpper();
    names[1][m - 1] = locale.standaloneMonthName(m, QLocale::ShortFormat).toUpper();
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
  if (piece.size() != upperName.size()) return false;
  for (qsizetype i = 0; i < piece.size(); ++i) {
    const char16_t c = piece[i].unicode();
    if (c >= 0x80) return piece.toString().toUpper() == upperName;
    const char16_t u = (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
    if (u != upperName[i].unicode()) return false;
  }
  return true;
}

std::optional<int> ReadMonthName(QStringView text, qsizetype& pos, int form) {
  const TMonthNames& names = MonthNames();
  for (const auto* list : {&names.user[form], &names.english[form]}) {
    for (int m = 0; m < 12; ++m) {
      const QString& name = (*list)[m];
      if (name.isEmpty()) continue;  // an empty name would match anywhere
      if (UpperEquals(text.mid(pos, name.size()), name)) {
        pos += name.size();
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

std::optional<int> ReadNumber(QStringView text, qsizetype& pos, int minLen, int maxLen,
                              int minValue, int maxValue) {
  std::optional<int> found;
  qsizetype foundLen = 0;
  for (int len = std::max(minLen, 0); len <= maxLen; ++len) {
    if (pos < 0 || text.size() - pos < len) break;
    const std::optional<int> value = StrictInt(text.mid(pos, len));
    if (!value || *value > maxValue) break;
    if (*value >= minValue) {
      found = value;
      foundLen = len;
    }
  }
  if (found) pos += foundLen;
  return found;
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

constexpr qsizetype kStackDigits = 96;

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

std::optional<double> ConvertOsszeg(QStringView text, QChar decSep, QChar thousandSep) {
  // Blanks are skipped as they come instead of building a copy without them.
  if (!OsszegShape(text, true)) return std::nullopt;

  // The rest goes to a small buffer as "-ddd.ddd" for from_chars (correctly rounded, no
  // locale); a long text (hundreds of digits) takes the heap.
  char stackBuffer[kStackDigits];
  std::string heapBuffer;
  char* buffer = stackBuffer;
  if (text.size() > kStackDigits) {
    heapBuffer.resize(size_t(text.size()));
    buffer = heapBuffer.data();
  }
  qsizetype length = 0;
  qsizetype digits = 0;
  bool decimal = false;
  bool integerPartNonZero = false;
  for (QChar c : text) {
    if (c == u' ' || c == thousandSep) continue;
    if (length == 0 && c == u'-') {
      buffer[length++] = '-';
    } else if (IsAsciiDigit(c)) {
      if (!decimal && c != u'0') integerPartNonZero = true;
      buffer[length++] = char(c.unicode());
      ++digits;
    } else if (c == decSep && !decimal) {
      decimal = true;
      buffer[length++] = '.';
    } else {
      return std::nullopt;
    }
  }
  if (digits == 0) return std::nullopt;

  double value = 0;
  const auto [end, error] = std::from_chars(buffer, buffer + length, value);
  if (end != buffer + length) return std::nullopt;
  if (error == std::errc::result_out_of_range) {
    if (integerPartNonZero) return std::nullopt;  // too large: not a finite amount
    value = buffer[0] == '-' ? -0.0 : 0.0;        // too small: nothing left of it
  } else if (error != std::errc()) {
    return std::nullopt;
  }
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<TOsszegGuess> DetectOsszeg(const QString& text) {
  if (!OsszegShape(text, true)) return std::nullopt;
  TFormatSettings& settings = InputFormatSettings();
  // The comma reading first: "1234.56" is taken as 123456 with "." grouping.
  settings.DecimalSeparator = u',';
  settings.ThousandSeparator = u'.';
  if (const auto value = ConvertOsszeg(text, u',', u'.')) return TOsszegGuess{u',', *value};
  settings.DecimalSeparator = u'.';
  settings.ThousandSeparator = u',';
  if (const auto value = ConvertOsszeg(text, u'.', u',')) return TOsszegGuess{u'.', *value};
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
  return ReadNumber(text, pos, minLen, maxLen, minValue, maxValue);
}

TDatumFormat::TDatumFormat(const QString& format) : format_(format) {
  bool twoDigitYear = false;
  for (const QString& piece : SplitDatumFormat(format)) {
    // Every token, literal ones included, is looked up lower-cased: "YYYY" acts as "yyyy".
    const QString key = piece.toLower();
    Token token;
    if (key == u"mmmm") {
      token.kind = Kind::MonthLong;
    } else if (key == u"mmm") {
      token.kind = Kind::MonthShort;
    } else if (key == u"mm") {
      token.kind = Kind::Month2;
    } else if (key == u"m") {
      token.kind = Kind::Month1;
    } else if (key == u"dddd" || key == u"ddd" || key == u"yyy" || key == u"y") {
      token.kind = Kind::Fail;
    } else if (key == u"dd") {
      token.kind = Kind::Day2;
    } else if (key == u"d") {
      token.kind = Kind::Day1;
    } else if (key == u"yyyy") {
      token.kind = Kind::Year4;
    } else if (key == u"yy") {
      token.kind = Kind::Year2;
      twoDigitYear = true;
    } else {
      token.kind = Kind::Literal;
      token.text = piece;
    }
    tokens_.push_back(std::move(token));
  }
  if (twoDigitYear) currentYear_ = Clock::Today().year();
}

std::optional<QDate> TDatumFormat::Convert(const QString& text) const {
  return Convert(QStringView(text));
}

std::optional<QDate> TDatumFormat::Convert(QStringView text) const {
  if (text.isEmpty() || tokens_.empty()) return std::nullopt;
  std::optional<int> year, month, day;
  qsizetype pos = 0;
  for (const Token& token : tokens_) {
    switch (token.kind) {
      case Kind::Literal:
        if (text.size() - pos < token.text.size() ||
            text.sliced(pos, token.text.size()) != token.text)
          return std::nullopt;
        pos += token.text.size();
        break;
      case Kind::Fail:
        return std::nullopt;
      case Kind::MonthLong:
      case Kind::MonthShort:
        month = ReadMonthName(text, pos, token.kind == Kind::MonthLong ? 0 : 1);
        if (!month) return std::nullopt;
        break;
      case Kind::Month2:
      case Kind::Month1:
        month = ReadNumber(text, pos, token.kind == Kind::Month2 ? 2 : 1, 2, 1, 12);
        if (!month) return std::nullopt;
        break;
      case Kind::Day2:
      case Kind::Day1:
        day = ReadNumber(text, pos, token.kind == Kind::Day2 ? 2 : 1, 2, 1, 31);
        if (!day) return std::nullopt;
        break;
      case Kind::Year4:
        year = ReadNumber(text, pos, 4, 4, 0, 9999);
        if (!year) return std::nullopt;
        break;
      case Kind::Year2: {
        const std::optional<int> yy = ReadNumber(text, pos, 2, 2, 0, 99);
        if (!yy) return std::nullopt;
        // the year with these last two digits in [current - 50, current + 49]
        const int first = currentYear_ - 50;
        year = first + ((*yy - first) % 100 + 100) % 100;
        break;
      }
    }
  }
  if (pos != text.size() || !year || !month || !day) return std::nullopt;
  const QDate date(*year, *month, *day);  // no year 0, no 31 April
  if (!date.isValid()) return std::nullopt;
  return date;
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
  const auto build = [](const char* a, QChar c, const char* b, const char* d) {
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
