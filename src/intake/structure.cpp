#include "intake/structure.h"

#include <QSysInfo>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <vector>

#include "common/text_util.h"
#include "reader/line_ends.h"
#include "reader/text_source.h"

namespace krinu {

int CountChar(QChar c, const QString& text) {
  return int(text.count(c));
}

double LetterRatio(const QString& line, const QString& separator) {
  // blanks and every control character go, not only what QString::trimmed() drops
  qsizetype from = 0, to = line.size();
  while (from < to && line[from].unicode() <= 32) ++from;
  while (to > from && line[to - 1].unicode() <= 32) --to;
  if (from == to) return -1;
  // The pieces SplitToList would give, walked in place: a line of millions of fields is
  // not copied into as many strings. Empty pieces count for nothing either way.
  double sum = 0;
  int count = 0;
  const QStringView text = QStringView(line).mid(from, to - from);
  qsizetype start = 0;
  while (start <= text.size()) {
    qsizetype end = separator.isEmpty() ? -1 : text.indexOf(separator, start);
    if (end < 0) end = text.size();
    const QStringView piece = text.mid(start, end - start);
    if (!piece.isEmpty()) {
      int letters = 0;
      for (QChar ch : piece)
        if (ch.isLetter()) ++letters;
      sum += double(letters) / double(piece.size());
      ++count;
    }
    start = end + qMax<qsizetype>(separator.size(), 1);
  }
  return count == 0 ? 0.0 : sum / count;
}

namespace {

// The first two lines, decoded, by the text-file line rule.
QStringList FirstTwoLines(const TInputSettings& settings) {
  const auto source = OpenInputText(settings, 64 * 1024);
  QStringList lines;
  QString current;
  TTextLineScan scan;
  const auto text = [&current](const char16_t* from, const char16_t* to) {
    for (; from < to; ++from)
      if (*from != kCarriageReturn) current.append(QChar(*from));
  };
  const auto lineEnd = [&] {
    lines << current;
    current.clear();
    return lines.size() < 2;
  };
  char16_t buffer[4096];
  for (;;) {
    const int n = source->Read(buffer, int(std::size(buffer)));
    if (n <= 0) break;
    if (!ScanTextLines(buffer, buffer + n, scan, text, lineEnd)) break;
  }
  if (scan.Pending) lines << current;
  return lines;
}

// Counting needs no decoding: LF and Ctrl-Z are single bytes in the single-byte code pages
// and in UTF-8, and single 16-bit units in UTF-16 LE (a byte-order mark is one more unit of
// the first line). Stops once the count passes limit.
template <class Unit>
qint32 CountLinesIn(QIODevice& file, qint32 limit, const ProgressFn& progress) {
  const qint64 total = file.size();
  qint64 done = 0;
  qint32 lines = 0;
  TTextLineScan scan;
  const auto lineEnd = [&lines, limit] { return ++lines <= limit; };
  std::vector<Unit> block((1 << 20) / sizeof(Unit));
  char* const bytes = reinterpret_cast<char*>(block.data());
  const qint64 blockBytes = qint64(block.size() * sizeof(Unit));
  qint64 carried = 0;  // bytes of a unit split between two blocks, kept at the start
  for (;;) {
    const qint64 n = file.read(bytes + carried, blockBytes - carried);
    if (n < 0) throw EqdxCSVException(file.errorString());
    if (n == 0) break;
    done += n;
    const qint64 size = carried + n;
    const qsizetype units = qsizetype(size / qint64(sizeof(Unit)));
    if constexpr (sizeof(Unit) == 2 && QSysInfo::ByteOrder == QSysInfo::BigEndian) {
      for (qsizetype i = 0; i < units; ++i) block[size_t(i)] = qFromLittleEndian(block[size_t(i)]);
    }
    if (!ScanTextLines(
            block.data(), block.data() + units, scan, [](const Unit*, const Unit*) {}, lineEnd))
      return lines + (scan.Pending ? 1 : 0);  // a Ctrl-Z, or the count passed the limit
    carried = size - qint64(units) * qint64(sizeof(Unit));
    if (carried > 0) std::memmove(bytes, bytes + (size - carried), size_t(carried));
    if (progress) progress(done, total);
  }
  return lines + (scan.Pending || carried > 0 ? 1 : 0);
}

qint32 CountLines(const TInputSettings& settings, qint32 limit, const ProgressFn& progress) {
  const auto file = OpenInputBytes(settings.InputFileName);
  return settings.InputCodePage == kCodePageUtf16LE ? CountLinesIn<char16_t>(*file, limit, progress)
                                                    : CountLinesIn<char>(*file, limit, progress);
}

}  // namespace

TStructureGuess AnalyzeInputDataStructure(const QString& fileName, quint16 codePage,
                                          const QString& separator, bool header,
                                          const ProgressFn& progress) {
  TStructureGuess guess{Fail(TFailureKind::Input, QString()), separator, header, std::nullopt};
  // Read by the opening rule of every reading; a byte-order mark is found again by it.
  TInputSettings settings;
  settings.InputFileName = fileName;
  settings.InputCodePage = codePage;
  try {
    const QStringList lines = FirstTwoLines(settings);
    if (!lines.isEmpty()) {
      const QString& line1 = lines[0];
      const int commas = CountChar(QLatin1Char(','), line1);
      const int semicolons = CountChar(QLatin1Char(';'), line1);
      if (commas > 2 && commas > semicolons)
        guess.Separator = QStringLiteral(",");
      else if (semicolons > 2 && semicolons > commas)
        guess.Separator = QStringLiteral(";");
      if (lines.size() > 1) {
        const double r1 = LetterRatio(line1, guess.Separator);
        const double r2 = LetterRatio(lines[1], guess.Separator);
        if (r1 >= 0 && r2 >= 0) {
          if (r2 == 0) {  // no letters on line 2: no quotient, no guess
            guess.Status = Fail(TFailureKind::Input,
                                QStringLiteral("Az input fájl második sorában nincs betű"));
            return guess;
          }
          const float q = float(r1) / float(r2);
          guess.Header = q > 2.0f;
        }
      }
    }
    guess.LineCount = CountLines(settings, kMaxInputLines, progress);
  } catch (const EqdxCSVException& e) {
    guess.Status = Fail(TFailureKind::Access, e.Message());
    return guess;
  }
  if (guess.Separator == QStringLiteral(",") || guess.Separator == QStringLiteral(";"))
    guess.Status = TStatus();
  else
    guess.Status =
        Fail(TFailureKind::Input,
             QStringLiteral("A mező elválasztó karakter nem vessző és nem pontosvessző"));
  return guess;
}

namespace {
QString TooManyFieldsMessage() {
  return QStringLiteral("Túl sok oszlopot találtam az input fájlban, maximum 600-at tudok kezelni");
}
}  // namespace

TStructureCheck CheckInputDataStructure(const TInputSettings& settings) {
  TStructureCheck result;
  TPreviewGrid& grid = result.Preview;
  grid.FixedRows = 0;
  grid.Resize(1, 1);
  const bool header = settings.HeaderPresent;
  TqdxCSVFileReader reader(512);
  try {
    if (settings.InputSeparatorChar.isNull())
      throw EqdxCSVException(QStringLiteral("Nincs megadva a mező elválasztó karakter."));
    ConfigureInputReaderFully(reader, settings);
    // A line of millions of fields is refused at the first one too many, not once all of
    // them are held.
    reader.SetFieldCountLimit(kMaxFields);
    reader.Open();

    const int fields = reader.FieldCount();
    result.FieldCount = fields;
    if (fields < kMinFields) {
      result.Status =
          Fail(TFailureKind::Input, QStringLiteral("Túl kevés oszlopot tudtam beazonosítani az "
                                                   "input fájlban, minimum 6 adatra szükség van"));
      return result;
    }
    if (fields > kMaxFields) {
      result.Status = Fail(TFailureKind::Input, TooManyFieldsMessage());
      return result;
    }

    const int fixed = header ? 1 : 0;
    grid.Resize(fixed, fields);
    grid.FixedRows = fixed;
    if (header)
      for (int i = 0; i < fields; ++i) grid.Cells[0][i] = reader.Fields(i).Name();
    int n = 0;
    while (!reader.Eof()) {
      ++n;
      QStringList row;
      row.reserve(fields);
      for (int i = 0; i < fields; ++i) {
        const QString& value = reader.Fields(i).Value();
        row << value;
        grid.ColWidths[i] = std::max(grid.ColWidths[i], int(value.size()));
      }
      grid.Cells.append(row);
      grid.RowCount = grid.Cells.size();  // rows read stay in the preview after a failure
      if (n >= kPreviewRows) break;
      reader.Next();
    }
    if (grid.RowCount == 0) grid.Resize(1, fields);  // an empty grid still shows one row
    result.RowCount = n;
    if (header && n == 0) {
      result.Status = Fail(TFailureKind::Input,
                           QStringLiteral("Üres az input file (egyetlen \"Fejrovat\" sorból áll)"));
      return result;
    }
    reader.Close();
    result.Status = TStatus();
  } catch (const EqdxCSVException& e) {
    result.Status = Fail(TFailureKind::Input, QStringLiteral("Hiba: ") + e.Message());
    if (reader.FieldCountLimitReached()) {
      result.FieldCount = kMaxFields + 1;
      result.Status = Fail(TFailureKind::Input, TooManyFieldsMessage());
    }
  }
  return result;
}

}  // namespace krinu
