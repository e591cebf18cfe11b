#pragma once
// Choosing the input file: the byte sample, its code page, and the test that nobody else
// is writing the file.

#include <QString>
#include <QtGlobal>
#include <array>

#include "common/result.h"
#include "reader/text_source.h"

namespace krinu {

using T4096Bytes = std::array<unsigned char, 4096>;

// The first bytes of the input file.
struct TFBytes {
  qint32 Len = 0;
  T4096Bytes Data{};
};

struct TDetectedCodePage {
  quint16 CodePage = kCodePageAnsi;
  bool HasBOM = false;  // it came from a byte-order mark
};
// The code page of the sample.
[[nodiscard]] TDetectedCodePage DetectCodePage(const TFBytes& sample);
QString CodePageName(int codePage);
bool CodePageSupported(quint16 codePage);

// Opens the file for reading while making sure that no other process has it open for
// writing, and takes the sample of its first bytes. Fails when the file cannot be opened
// or somebody is writing it; the file is closed again before returning.
[[nodiscard]] TResult<TFBytes> ReadSampleExclusively(const QString& fileName);

}  // namespace krinu
