#pragma once
// The structure of the input file: separator and header guess, line count, and the
// preview checked with the record reader.

#include <QString>
#include <functional>

#include "common/controls.h"
#include "common/progress.h"
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

// Guesses the separator (writes separatorEd when line 1 votes clearly) and the header flag,
// counts the lines (stops above the limit). True when the separator is "," or ";" then.
// p_NumOfLines is written only when the file could be read and the guess could be made.
bool AnalyzeInputDataStructure(const QString& fileName, quint16 codePage, QString& separatorEd,
                               bool& headerChecked, qint32& p_NumOfLines,
                               const ProgressFn& progress = {});

// The controls the structure check fills.
struct TStructurePreview {
  GridControl& InputDataSG;
  TextControl& ColCountPrevEd;
  TextControl& RowCountPrevEd;
};

// Reads the header and up to ten records into the preview with the current separator and
// header flag. False with p_Msg when the file cannot be read so or has not 6 to 600 fields.
bool CheckInputDataStructure(TInputSettings& settings, const QString& separatorEd, bool header,
                             TStructurePreview preview, QString& p_Msg);

}  // namespace krinu
