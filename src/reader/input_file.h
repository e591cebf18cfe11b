#pragma once
// The input file as every reading of it sees it, and the one rule that opens it: the
// sample taken when it is chosen, the structure analysis's lines and count, the structure
// check and the load all open it here.

#include <QByteArray>
#include <QChar>
#include <QIODevice>
#include <QString>
#include <memory>
#include <optional>

#include "reader/csv_reader.h"
#include "reader/text_source.h"

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

// Up to maxBytes of the file's first bytes, read while no other process may write it;
// nothing when it is no regular file, cannot be opened so, or some process writes it.
[[nodiscard]] std::optional<QByteArray> ReadInputSample(const QString& fileName, qint64 maxBytes);

// Why the file cannot be an input at all, in words for the user with the system's reason:
// it does not exist, is a folder or no regular file, or cannot be read. Nothing when it
// can be opened for reading, so that a refused sample means another program writes it.
[[nodiscard]] std::optional<QString> InputFileProblem(const QString& fileName);

// The file's bytes as they stand, for work that needs no decoding. Throws EqdxCSVException
// when the file cannot be opened.
[[nodiscard]] std::unique_ptr<QIODevice> OpenInputBytes(const QString& fileName);

// The file's text, decoded as the reader decodes it (see ConfigureInputReader), through a
// byte buffer of bufferBytes. Throws EqdxCSVException when the file cannot be opened.
[[nodiscard]] std::unique_ptr<TTextSource> OpenInputText(const TInputSettings& settings,
                                                         int bufferBytes);

// The reader's byte buffer for a reading of a few records, and for one of the whole file.
inline constexpr int kInputByteBuffer = 1024;
inline constexpr int kWholeInputByteBuffer = 1 << 15;

// Points a reader at the input file with the encoding rule every reading shares.
void ConfigureInputReader(TqdxCSVFileReader& reader, const TInputSettings& settings,
                          int bufferBytes = kInputByteBuffer);

// The whole opening rule of the structure check and the load: file and encoding, header
// flag, separator, empty lines ignored, special characters dropped. The reader is not
// opened yet.
void ConfigureInputReaderFully(TqdxCSVFileReader& reader, const TInputSettings& settings,
                               int bufferBytes = kInputByteBuffer);

}  // namespace krinu
