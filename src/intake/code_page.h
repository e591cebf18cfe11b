#pragma once
// Choosing the input file: the byte sample, its code page, and the test that nobody else
// is writing the file.

#include <QString>
#include <QtGlobal>
#include <array>

namespace krinu {

using T4096Bytes = std::array<unsigned char, 4096>;

// The first bytes of the input file.
struct TFBytes {
  qint32 Len = 0;
  T4096Bytes Data{};
};

// Code pages the detection can return.
inline constexpr quint16 kCodePageAnsi = 0;
inline constexpr quint16 kCodePageUtf8 = 65001;
inline constexpr quint16 kCodePageUtf16LE = 1200;
inline constexpr quint16 kCodePageUtf16BE = 1201;
inline constexpr quint16 kCodePageUtf32LE = 12000;
inline constexpr quint16 kCodePageUtf32BE = 12001;

// The code page of the sample; hasBOM tells whether it came from a byte-order mark.
quint16 DetectCodePage(const TFBytes& sample, bool& hasBOM);
QString CodePageName(int codePage);
bool CodePageSupported(quint16 codePage);

// Opens the file for reading while making sure that no other process has it open for
// writing, and takes the sample of its first bytes. False when the file cannot be opened or
// somebody is writing it; the file is closed again before returning.
bool ReadSampleExclusively(const QString& fileName, TFBytes& sample);

}  // namespace krinu
