// libFuzzer target for the value recognisers and converters, and for the whole input chain
// on the same bytes taken as a small file. The first three bytes choose
// the decoding, the user locale, a pair of separators and the arguments of a date-part
// read; the rest is a text and, after the first NUL, a date format. Every routine must
// return (no crash, no sanitizer report, no exception), agree with the regular expressions
// it stands in for, and a format found by DetectDatumFormat must convert its own sample.
#include <QFile>
#include <QLocale>
#include <QString>
#include <QTemporaryDir>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "content/column_assignment.h"
#include "content/content_check.h"
#include "content/input_load.h"
#include "content/recognisers.h"
#include "intake/code_page.h"
#include "intake/structure.h"

namespace {

using namespace krinu;

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

const PcreRegex& Compiled(const char16_t* pattern) {
  // one object per pattern, compiled once
  static PcreRegex adoszam, osszeg;
  static const bool ready = adoszam.SetPattern(QString::fromUtf16(AdoszamPattern)) &&
                            osszeg.SetPattern(QString::fromUtf16(OsszegPattern));
  Check(ready, "patterns compile");
  return pattern == AdoszamPattern ? adoszam : osszeg;
}

const std::pair<QChar, QChar> kSeparators[] = {
    {u',', u'.'}, {u'.', u','},  {u',', u' '}, {u'.', u'.'},
    {u'-', u','}, {u'\n', u'0'}, {u'1', u'-'}, {QChar(0xFFFD), QChar(0xD800)}};
const int kValueBounds[][2] = {{1, 12}, {1, 31}, {0, 9999}, {0, 99},
                               {-5, 5}, {0, 0},  {7, 3},    {INT32_MIN, INT32_MAX}};

void UseLocale(bool hungarian) {
  static int current = -1;
  if (current == int(hungarian)) return;
  current = int(hungarian);
  SetUserLocaleForTesting(hungarian ? std::optional<QLocale>(QLocale(QLocale::Hungarian))
                                    : std::nullopt);
}

void CheckAmounts(const QString& text, uint8_t choice) {
  for (const auto& [dec, thousand] : {kSeparators[0], kSeparators[1], kSeparators[choice & 7]}) {
    const std::optional<double> value = ConvertOsszeg(text, dec, thousand);
    if (!value) continue;
    Check(std::isfinite(*value), "a converted amount is finite");
    Check(Compiled(OsszegPattern).Match(RemoveChar(text, u' ')), "converted only on the pattern");
  }
  Check(MatchesOsszegPattern(text) == Compiled(OsszegPattern).Match(text),
        "amount matcher equals PCRE");
  if (const auto guess = DetectOsszeg(text)) {
    const QChar other = guess->DecSep == u',' ? u'.' : u',';
    const std::optional<double> again = ConvertOsszeg(text, guess->DecSep, other);
    // The column search still recognises amounts beyond the bound; they never convert.
    if (std::fabs(guess->Value) < kAmountBound)
      Check(again && *again == guess->Value, "detected amount converts the same way");
    else
      Check(!again, "an amount of 10^15 or more does not convert");
    Check(InputFormatSettings().DecimalSeparator == guess->DecSep, "detected separator is set");
  }
}

void CheckDates(const QString& text, const QString& format, uint8_t b1, uint8_t b2) {
  const QStringList tokens = SplitDatumFormat(format);
  Check(tokens.join(QString()) == format, "tokens make up the format");
  for (const QString& token : tokens) Check(!token.isEmpty(), "no empty token");

  const std::optional<QDate> date = ConvertDatum(text, format);
  Check(date == TDatumFormat(format).Convert(text), "one format object converts the same");
  if (date) Check(date->isValid(), "a converted date is valid");
  const QString panel = DateConversionTestText(text, format);
  Check((panel == QStringLiteral("??")) == !date, "test panel shows the conversion");

  if (const auto guess = DetectDatumFormat(text)) {
    Check(ConvertDatum(TrimText(text), guess->Format).has_value(),
          "a detected format converts its own sample");
    Check(guess->Format.size() >= 6 && guess->Format.size() <= 12, "detected format shape");
  }

  qsizetype pos = b1 & 7;
  const qsizetype start = pos;
  const int minLen = (b1 >> 3) & 3;
  const int maxLen = minLen + ((b1 >> 5) & 3) - 1;
  const auto& bounds = kValueBounds[b2 & 7];
  if (const auto value = ReadDatumNumber(text, pos, minLen, maxLen, bounds[0], bounds[1])) {
    Check(*value >= bounds[0] && *value <= bounds[1], "date part within its bounds");
    Check(pos - start >= minLen && pos - start <= maxLen && pos <= text.size(),
          "date part length within its bounds");
  } else {
    Check(pos == start, "a failed date part leaves the position");
  }
}

void CheckTaxNumberAndRatio(const QString& text) {
  Check(IsAdoszam(text) == Compiled(AdoszamPattern).Match(TrimText(text)),
        "tax-number matcher equals PCRE");
  const float ratio = DigitRatio(text);
  Check(ratio == -1.0f || (ratio >= 0.0f && ratio <= 1.0f), "digit ratio range");
}

}  // namespace

// Records the reader delivers from the file with the settings, or -1 when it stops.
qint64 RecordsDelivered(const TInputSettings& settings) {
  try {
    TqdxCSVFileReader reader(512);
    ConfigureInputReaderFully(reader, settings);
    reader.Open();
    qint64 n = 0;
    while (!reader.Eof()) {
      ++n;
      reader.Next();
    }
    return n;
  } catch (const EqdxCSVException&) {
    return -1;
  }
}

// The same bytes as a small input file through the whole chain: code page, structure
// analysis and preview, column assignment, content check, load. Every record the reader
// delivers is loaded or skipped, exactly once; a load the reader stops says so.
void CheckWholeChain(const uint8_t* data, size_t size) {
  static const QString path = [] {
    static QTemporaryDir dir;
    return dir.filePath(QStringLiteral("fuzz.csv"));
  }();
  {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
    f.write(reinterpret_cast<const char*>(data), qint64(size));
  }
  const TResult<TFBytes> sample = ReadSampleExclusively(path);
  if (!sample) return;
  TInputSettings settings;
  settings.InputFileName = path;
  const TDetectedCodePage detected = DetectCodePage(sample.Value());
  settings.InputCodePage = detected.CodePage;
  settings.InputHasBOM = detected.HasBOM;
  if (!CodePageSupported(settings.InputCodePage)) return;
  const TStructureGuess guess =
      AnalyzeInputDataStructure(path, settings.InputCodePage, QStringLiteral("?"), false);
  if (!guess.LineCount || *guess.LineCount == 0) return;
  settings.InputSeparatorChar = guess.Separator.isEmpty() ? QChar(u';') : guess.Separator.at(0);
  settings.HeaderPresent = guess.Header;
  settings.InputLineCount = *guess.LineCount;
  const TStructureCheck structure = CheckInputDataStructure(settings);
  if (!structure.Status.Ok()) return;
  THeaderMasks masks;
  masks[0] << QStringLiteral("ADÓSZÁM");
  masks[2] << QStringLiteral("DÁTUM");
  masks[4] << QStringLiteral("NETTÓ") << QStringLiteral("-ÁFA");
  masks[5] << QStringLiteral("ÁFA");
  TAssignment assignment = AssignColumns(structure.Preview, masks, settings.HeaderPresent);
  // Complete what was not found, as a user would, so that the load runs on every input.
  for (size_t i = 0; i < assignment.Columns.Item.size(); ++i)
    if (assignment.Columns.Item[i] == 0)
      assignment.Columns.Item[i] = int(i) % structure.Preview.ColCount + 1;
  const QString format = assignment.DateFormat.value_or(QStringLiteral("yyyy.mm.dd"));
  const int decSep = assignment.DecSepIndex.value_or(-1);
  (void)CheckInputDataContent(structure.Preview, settings.HeaderPresent, assignment.Columns, format,
                              decSep);
  const TLoadResult loaded = LoadInputData(settings, assignment.Columns, format, decSep);
  const qint64 delivered = RecordsDelivered(settings);
  Check(loaded.MissedRows.size() == qsizetype(loaded.Skipped.size()), "skipped rows and reasons");
  if (loaded.Succeeded()) {
    Check(delivered >= 0, "the load passed where the reader stops");
    Check(qint64(loaded.AFAAdatList.size()) + loaded.MissedRows.size() == delivered,
          "every record loaded or skipped once");
  } else {
    Check(delivered < 0, "the load stopped where the reader goes through");
  }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const uint8_t flags = data[0];
  const char* rest = reinterpret_cast<const char*>(data) + 3;
  const qsizetype restSize = qsizetype(size - 3);
  QString all;
  if (flags & 1) {
    // UTF-16 units copied, not read in place: the bytes need not be aligned
    all.resize(restSize / 2);
    std::memcpy(all.data(), rest, size_t(all.size()) * 2);
  } else {
    all = QString::fromUtf8(rest, restSize);
  }
  const qsizetype nul = all.indexOf(QChar(0));
  const QString text = nul < 0 ? all : all.left(nul);
  const QString format = nul < 0 ? QString() : all.mid(nul + 1);

  UseLocale(flags & 2);
  CheckTaxNumberAndRatio(text);
  CheckAmounts(text, flags >> 2);
  CheckDates(text, format, data[1], data[2]);

  CheckWholeChain(data, size);
  return 0;
}
