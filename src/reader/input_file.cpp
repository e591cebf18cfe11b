#include "reader/input_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "reader/exclusive_read.h"

namespace krinu {

namespace {

struct TInputDecoding {
  TTextEncoding Encoding;
  bool DetectBOM = true;
};

// A byte-order mark found at selection is found again by the detection, over the ANSI
// code page; without one the detected code page decodes, and only UTF-8 is taken as it is
// whatever its first bytes look like. Code pages the program refuses read as ANSI.
TInputDecoding InputDecoding(const TInputSettings& settings) {
  if (settings.InputHasBOM) return {TTextEncoding::Default(), true};
  const quint16 cp = settings.InputCodePage;
  if (cp != kCodePageUtf8 && cp != kCodePageUtf16LE) return {TTextEncoding::Default(), true};
  return {TTextEncoding::FromCodePage(cp), cp != kCodePageUtf8};
}

}  // namespace

std::optional<QByteArray> ReadInputSample(const QString& fileName, qint64 maxBytes) {
  // Only a regular file is an input: a FIFO, a device or a folder would block or never end.
  // Asked without opening it, on every platform.
  if (!QFileInfo(fileName).isFile()) return std::nullopt;
  return ReadDenyingWriters(fileName, maxBytes);
}

std::optional<QString> InputFileProblem(const QString& fileName) {
  const QFileInfo info(fileName);
  const QString shown = QDir::toNativeSeparators(fileName);
  if (info.isDir()) return QStringLiteral("A kijelölt név egy mappát jelöl, nem fájlt:\n") + shown;
  // Opened only where that cannot wait: nothing there (the reason is the system's), or a
  // regular file.
  QFile file(fileName);
  if (!info.exists()) {
    (void)file.open(QIODevice::ReadOnly);
    return QStringLiteral("A kijelölt fájl nem létezik, vagy nem érhető el:\n") + shown +
           QStringLiteral("\n") + file.errorString();
  }
  if (!info.isFile())
    return QStringLiteral(
               "A kijelölt fájl nem közönséges fájl (hanem például eszköz vagy FIFO), ezért nem "
               "olvasható be:\n") +
           shown;
  if (!file.open(QIODevice::ReadOnly))
    return QStringLiteral("A kijelölt fájl nem olvasható:\n") + shown + QStringLiteral("\n") +
           file.errorString();
  return std::nullopt;
}

std::unique_ptr<QIODevice> OpenInputBytes(const QString& fileName) {
  return OpenFileForReading(fileName);
}

std::unique_ptr<TTextSource> OpenInputText(const TInputSettings& settings, int bufferBytes) {
  const TInputDecoding decoding = InputDecoding(settings);
  return std::make_unique<TDecodingTextSource>(OpenInputBytes(settings.InputFileName),
                                               decoding.Encoding, decoding.DetectBOM, bufferBytes);
}

void ConfigureInputReader(TqdxCSVFileReader& reader, const TInputSettings& settings,
                          int bufferBytes) {
  const TInputDecoding decoding = InputDecoding(settings);
  reader.SetFile(settings.InputFileName, decoding.Encoding, decoding.DetectBOM, bufferBytes);
}

void ConfigureInputReaderFully(TqdxCSVFileReader& reader, const TInputSettings& settings,
                               int bufferBytes) {
  ConfigureInputReader(reader, settings, bufferBytes);
  reader.SetHeaderPresent(settings.HeaderPresent);
  reader.SetFieldSeparatorCharCode(settings.InputSeparatorChar.unicode());
  reader.SetIgnoreEmptyLines(true);
  reader.SetIgnoreSpecialCharacters(true);
}

}  // namespace krinu
