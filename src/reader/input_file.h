#pragma once
// The input file as every reading of it sees it, and the one rule that opens it.

#include <QChar>
#include <QString>

#include "reader/csv_reader.h"

namespace krinu {

// What file selection and the structure check found out about the input file.
struct TInputSettings {
  QString InputFileName;
  quint16 InputCodePage = 0;  // 0 the ANSI code page, 65001 UTF-8, 1200 UTF-16 LE
  bool InputHasBOM = false;
  QChar InputSeparatorChar;
  bool HeaderPresent = false;  // HeaderCbx
  qint32 InputLineCount = -1;
};

// Points a reader at the input file with the encoding rule every reading shares.
void ConfigureInputReader(TqdxCSVFileReader& reader, const TInputSettings& settings);

// The whole opening rule of the structure check and the load: file and encoding, header
// flag, separator, empty lines ignored, special characters dropped. The reader is not
// opened yet.
void ConfigureInputReaderFully(TqdxCSVFileReader& reader, const TInputSettings& settings);

}  // namespace krinu
