#include "intake/structure.h"

#include <QFile>
#include <algorithm>
#include <cstring>

#include "common/text_util.h"
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
  QStringList pieces;
  SplitToList(line.mid(from, to - from), pieces, separator);
  double sum = 0;
  int count = 0;
  for (const QString& piece : pieces) {
    if (piece.isEmpty()) continue;
    int letters = 0;
    for (QChar ch : piece)
      if (ch.isLetter()) ++letters;
    sum += double(letters) / double(piece.size());
    ++count;
  }
  return count == 0 ? 0.0 : sum / count;
}

namespace {

// The first two lines, decoded: LF or CR LF ends a line, a lone CR is dropped, Ctrl-Z ends
// the text.
QStringList FirstTwoLines(const QString& fileName, quint16 codePage) {
  auto source = TDecodingTextSource::OpenFile(fileName, TTextEncoding::FromCodePage(codePage),
                                              /*detectBOM=*/true, 64 * 1024);
  QStringList lines;
  QString current;
  bool pending = false;  // characters (or a dropped CR) since the last line end
  char16_t buffer[4096];
  for (;;) {
    const int n = source->Read(buffer, int(std::size(buffer)));
    if (n <= 0) break;
    for (int i = 0; i < n; ++i) {
      const char16_t c = buffer[i];
      if (c == 26) {
        if (pending) lines << current;
        return lines;
      }
      if (c == u'\n') {
        lines << current;
        current.clear();
        pending = false;
        if (lines.size() == 2) return lines;
      } else {
        pending = true;
        if (c != u'\r') current.append(QChar(c));
      }
    }
  }
  if (pending) lines << current;
  return lines;
}

// Counting needs no decoding: LF and Ctrl-Z are single bytes in the single-byte code pages
// and in UTF-8, and single 16-bit units in UTF-16 LE. Stops once the count passes limit.
qint32 CountLines(const QString& fileName, quint16 codePage, qint32 limit,
                  const ProgressFn& progress) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) throw EqdxCSVException(file.errorString());
  const int unit = codePage == kCodePageUtf16LE ? 2 : 1;
  const qint64 total = file.size();
  qint64 done = 0;
  qint32 lines = 0;
  bool pending = false;
  QByteArray block(1 << 20, Qt::Uninitialized);
  char carry = 0;
  bool hasCarry = false;  // the first byte of a 16-bit unit split between two blocks
  for (;;) {
    char* data = block.data();
    qsizetype start = 0;
    if (hasCarry) {
      data[0] = carry;
      start = 1;
    }
    const qint64 n = file.read(data + start, block.size() - start);
    if (n < 0) throw EqdxCSVException(file.errorString());
    qsizetype size = start + qsizetype(n);
    if (n == 0) break;
    done += n;
    hasCarry = (size % unit) != 0;
    if (hasCarry) carry = data[--size];
    if (unit == 1) {
      const char* p = data;
      const char* end = data + size;
      while (p < end) {
        const char* lf = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
        const char* stop = lf ? lf : end;
        if (const void* z = std::memchr(p, 26, size_t(stop - p))) {
          if (static_cast<const char*>(z) > p) pending = true;
          return lines + (pending ? 1 : 0);
        }
        if (!lf) {
          if (stop > p) pending = true;
          break;
        }
        ++lines;
        pending = false;
        if (lines > limit) return lines;
        p = lf + 1;
      }
    } else {
      for (qsizetype i = 0; i < size; i += 2) {
        const unsigned v = unsigned(uchar(data[i])) | (unsigned(uchar(data[i + 1])) << 8);
        if (v == 26) return lines + (pending ? 1 : 0);
        if (v == 10) {
          ++lines;
          pending = false;
          if (lines > limit) return lines;
        } else {
          pending = true;
        }
      }
    }
    if (progress) progress(done, total);
  }
  if (hasCarry) pending = true;
  return lines + (pending ? 1 : 0);
}

}  // namespace

TStructureGuess AnalyzeInputDataStructure(const QString& fileName, quint16 codePage,
                                          const QString& separator, bool header,
                                          const ProgressFn& progress) {
  TStructureGuess guess{false, separator, header, std::nullopt};
  try {
    const QStringList lines = FirstTwoLines(fileName, codePage);
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
          if (r2 == 0) return guess;  // no letters on line 2: no quotient, no guess
          const float q = float(r1) / float(r2);
          guess.Header = q > 2.0f;
        }
      }
    }
    // A byte-order mark is part of the first line's bytes, so it needs no care here.
    guess.LineCount = CountLines(fileName, codePage, kMaxInputLines, progress);
  } catch (const EqdxCSVException&) {
    return guess;
  }
  guess.Passed = guess.Separator == QStringLiteral(",") || guess.Separator == QStringLiteral(";");
  return guess;
}

TStructureCheck CheckInputDataStructure(const TInputSettings& settings) {
  TStructureCheck result;
  TPreviewGrid& grid = result.Preview;
  grid.FixedRows = 0;
  grid.Resize(1, 1);
  const bool header = settings.HeaderPresent;
  try {
    if (settings.InputSeparatorChar.isNull())
      throw EqdxCSVException(QStringLiteral("Nincs megadva a mező elválasztó karakter."));
    TqdxCSVFileReader reader(512);
    ConfigureInputReaderFully(reader, settings);
    reader.Open();

    const int fields = reader.FieldCount();
    result.FieldCount = fields;
    if (fields < kMinFields) {
      result.Message = QStringLiteral(
          "Túl kevés oszlopot tudtam beazonosítani az input fájlban, minimum 6 adatra szükség van");
      return result;
    }
    if (fields > kMaxFields) {
      result.Message = QStringLiteral(
          "Túl sok oszlopot találtam az input fájlban, maximum 600-at tudok kezelni");
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
      result.Message = QStringLiteral("Üres az input file (egyetlen \"Fejrovat\" sorból áll)");
      return result;
    }
    reader.Close();
    result.Passed = true;
  } catch (const EqdxCSVException& e) {
    result.Message = QStringLiteral("Hiba: ") + e.Message();
  }
  return result;
}

}  // namespace krinu
