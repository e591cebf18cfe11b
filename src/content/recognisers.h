#pragma once
// Deciding whether one text value is a tax number, an amount or a date, finding the layout
// of a sample value, and converting values. Every routine works on one value; a failure is
// an empty result, never an exception or a message.

#include <QChar>
#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cmath>
#include <optional>
#include <vector>

#include "common/pcre_regex.h"

namespace krinu {

inline constexpr const char16_t* AdoszamPattern = u"^\\d{8}([- ]?\\d[- ]?\\d{2})?$";
inline constexpr const char16_t* OsszegPattern = u"^-?[\\d.,]+$";
extern const char16_t* const CegnevPattern;
extern const char16_t* const DatumPatterns[5];

// The separators through which input amounts and dates are converted (one record for the
// whole process, filled from the user's locale at first use).
struct TFormatSettings {
  QChar DecimalSeparator;
  QChar ThousandSeparator;
  QChar DateSeparator;
};
TFormatSettings& InputFormatSettings();

// The one case-insensitive regular expression the column assignment, the check and the
// load set their pattern on.
PcreRegex& SharedRegex();

// The locale whose month names dates are read with: QLocale::system(), unless a test pins
// another one (std::nullopt: back to the system locale).
QLocale UserLocale();
void SetUserLocaleForTesting(std::optional<QLocale> locale);

// Leading and trailing characters up to U+0020 removed.
[[nodiscard]] QString TrimText(const QString& text);
[[nodiscard]] QStringView TrimView(QStringView text);

[[nodiscard]] QString RemoveChar(const QString& text, QChar c);
// Share of decimal digits in the trimmed text; -1 when it is empty.
[[nodiscard]] float DigitRatio(const QString& text);
[[nodiscard]] bool IsAdoszam(const QString& text);

// Hand-written equivalents of matching AdoszamPattern and OsszegPattern with PCRE (the
// load runs them on every record); the subject is taken as it is, not trimmed.
[[nodiscard]] bool MatchesAdoszamPattern(QStringView text);
[[nodiscard]] bool MatchesOsszegPattern(QStringView text);

// No invoice amount comes near it, and above it whole forints no longer survive the
// rounding: an amount of this magnitude or more is a broken field, not an amount to clamp
// into the return, and does not convert.
inline constexpr double kAmountBound = 1e15;

// Blanks removed, OsszegPattern, thousands separator removed, then the strict conversion
// with decSep.
[[nodiscard]] std::optional<double> ConvertOsszeg(const QString& text, QChar decSep,
                                                  QChar thousandSep);
[[nodiscard]] std::optional<double> ConvertOsszeg(QStringView text, QChar decSep,
                                                  QChar thousandSep);

// An invoice line's VAT is at most half of its net amount (in absolute value); a line with
// more cannot be right, and both the content check and the load refuse it.
[[nodiscard]] inline bool VatAboveHalf(double net, double vat) {
  return std::fabs(vat) > std::fabs(net) / 2;
}

struct TOsszegGuess {
  QChar DecSep;  // "," or "."
  double Value = 0;
};
[[nodiscard]] std::optional<TOsszegGuess> DetectOsszeg(const QString& text);

[[nodiscard]] QStringList SplitDatumFormat(const QString& format);
// Reads a numeric date part at pos (advanced on success): the longest acceptable piece.
[[nodiscard]] std::optional<int> ReadDatumNumber(const QString& text, qsizetype& pos, int minLen,
                                                 int maxLen, int minValue, int maxValue);
[[nodiscard]] std::optional<QDate> ConvertDatum(const QString& text, const QString& format);

// A format split once and used on many values (the check and the load).
class TDatumFormat {
 public:
  TDatumFormat() = default;  // converts nothing
  explicit TDatumFormat(const QString& format);
  [[nodiscard]] std::optional<QDate> Convert(const QString& text) const;
  [[nodiscard]] std::optional<QDate> Convert(QStringView text) const;
  const QString& Format() const { return format_; }

 private:
  enum class Kind : quint8 { Literal, Fail, MonthLong, MonthShort, Year, TwoDigitYear, Month, Day };
  struct Token {
    Kind kind = Kind::Literal;
    // a numeric part: its lengths and values
    int minLen = 0, maxLen = 0, minValue = 0, maxValue = 0;
    QString text;  // the literal text
  };
  QString format_;
  std::vector<Token> tokens_;
  int currentYear_ = 0;  // for "yy": read once, not on every value
};

struct TDatumGuess {
  QString Format;   // "yyyy.mm.dd", "dd/mm/yyyy", "yyyymmdd", …
  QChar Separator;  // the character between the parts; blank without separators
};
[[nodiscard]] std::optional<TDatumGuess> DetectDatumFormat(const QString& text);

// The hidden date-conversion test panel: "yyyy/mmm/dd" with the date separator of
// InputFormatSettings and the user locale's short month name, or "??".
[[nodiscard]] QString DateConversionTestText(const QString& text, const QString& format);

}  // namespace krinu
