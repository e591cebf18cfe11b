#pragma once
// The structure of the input file: separator and header guess, line count, and the
// preview checked with the record reader.

#include <QString>
#include <optional>

#include "common/preview_grid.h"
#include "common/progress.h"
#include "common/result.h"
#include "reader/csv_reader.h"
#include "reader/input_file.h"

namespace krinu {

inline constexpr qint32 kMaxInputLines = 1000000;
inline constexpr int kMinFields = 6;
inline constexpr int kMaxFields = 600;
inline constexpr int kPreviewRows = 10;

int CountChar(QChar c, const QString& text);
// Average share of letters in the non-empty pieces of line split at separator; -1 for a
// blank line, 0 when no piece has text.
double LetterRatio(const QString& line, const QString& separator);

// What the structure analysis found: the separator edit's and the header box's values
// afterwards, and the line count when the file could be read and the guess made.
struct TStructureGuess {
  // Failed when the file could not be read, line 2 gave no quotient, or the separator is
  // neither "," nor ";" afterwards; the separator and the header flag are set in any case.
  TStatus Status;
  QString Separator;
  bool Header = false;
  std::optional<qint32> LineCount;
};

// Guesses the separator (replaced only when line 1 votes clearly) and the header flag,
// counts the lines (stops above the limit).
[[nodiscard]] TStructureGuess AnalyzeInputDataStructure(const QString& fileName, quint16 codePage,
                                                        const QString& separator, bool header,
                                                        const ProgressFn& progress = {});

// What the structure check read: the preview (also the rows read before a failure), the
// field and row counts once known, and how it ended (the failure's message is the one shown).
struct TStructureCheck {
  TStatus Status;
  TPreviewGrid Preview;
  std::optional<int> FieldCount;
  std::optional<int> RowCount;
};

// Reads the header and up to ten records with the settings' separator and header flag.
// Fails when the file cannot be read so or has not 6 to 600 fields. An empty separator edit
// is given as a null InputSeparatorChar.
[[nodiscard]] TStructureCheck CheckInputDataStructure(const TInputSettings& settings);

}  // namespace krinu
