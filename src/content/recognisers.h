#pragma once
// Deciding whether one text value is a tax number, an amount or a date, finding the layout
// of a sample value, and converting values. Every routine works on one value; a failure is
// an empty result, never an exception or a message.

#include <QChar>
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

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

// Leading and trailing characters up to U+0020 removed.
QString TrimText(const QString& text);

QString RemoveChar(const QString& text, QChar c);
// Share of decimal digits in the trimmed text; -1 when it is empty.
float DigitRatio(const QString& text);
bool IsAdoszam(const QString& text);

// Blanks removed, OsszegPattern, thousands separator removed, then the strict conversion
// with decSep.
std::optional<double> ConvertOsszeg(const QString& text, QChar decSep, QChar thousandSep);

struct TOsszegGuess {
  QChar DecSep;  // "," or "."
  double Value = 0;
};
std::optional<TOsszegGuess> DetectOsszeg(const QString& text);

QStringList SplitDatumFormat(const QString& format);
// Reads a numeric date part at pos (advanced on success): the longest acceptable piece.
std::optional<int> ReadDatumNumber(const QString& text, qsizetype& pos, int minLen, int maxLen,
                                   int minValue, int maxValue);
std::optional<QDate> ConvertDatum(const QString& text, const QString& format);

// A format split once and used on many values (the check and the load).
class TDatumFormat {
 public:
  explicit TDatumFormat(const QString& format);
  std::optional<QDate> Convert(const QString& text) const;

 private:
  struct Token;
  QString format_;
  QStringList tokens_;
};

struct TDatumGuess {
  QString Format;   // "yyyy.mm.dd", "dd/mm/yyyy", "yyyymmdd", …
  QChar Separator;  // the character between the parts; blank without separators
};
std::optional<TDatumGuess> DetectDatumFormat(const QString& text);

// The hidden date-conversion test panel: "yyyy/mmm/dd" with the date separator of
// InputFormatSettings and the user locale's short month name, or "??".
QString DateConversionTestText(const QString& text, const QString& format);

}  // namespace krinu
