#include "intake/code_page.h"

#include <cstring>
#include <optional>

#include "reader/input_file.h"

namespace krinu {

TDetectedCodePage DetectCodePage(const TFBytes& sample) {
  const qint32 len = sample.Len;
  if (len < 4) return {kCodePageAnsi, false};
  const auto& b = sample.Data;
  struct Mark {
    unsigned char bytes[4];
    int size;
    quint16 codePage;
  };
  static constexpr Mark kMarks[] = {{{0xEF, 0xBB, 0xBF, 0}, 3, kCodePageUtf8},
                                    {{0x00, 0x00, 0xFE, 0xFF}, 4, kCodePageUtf32BE},
                                    {{0xFF, 0xFE, 0x00, 0x00}, 4, kCodePageUtf32LE},
                                    {{0xFE, 0xFF, 0, 0}, 2, kCodePageUtf16BE},
                                    {{0xFF, 0xFE, 0, 0}, 2, kCodePageUtf16LE}};
  for (const Mark& m : kMarks) {
    if (std::equal(m.bytes, m.bytes + m.size, b.begin())) {
      return {m.codePage, true};
    }
  }

  // Two-byte UTF-8 sequences; a pair ending on the sample's last byte is not counted.
  int pairs = 0;
  for (qint32 i = 0; i < len; ++i) {
    if ((b[size_t(i)] & 0xE0) == 0xC0 && i + 2 < len && (b[size_t(i) + 1] & 0xC0) == 0x80) {
      ++pairs;
      ++i;
    }
  }
  if (pairs >= 2) return {kCodePageUtf8, false};

  const qint32 half = len / 2;
  int little = 0, big = 0;
  for (qint32 i = 0; i < len; i += 2) {
    if (i + 2 >= len) break;
    if (b[size_t(i)] >= 0x20 && b[size_t(i) + 1] == 0x00) ++little;
    if (b[size_t(i)] == 0x00 && b[size_t(i) + 1] >= 0x20) ++big;
  }
  if (double(little) / double(half) >= 0.5) return {kCodePageUtf16LE, false};
  if (double(big) / double(half) >= 0.5) return {kCodePageUtf16BE, false};
  return {kCodePageAnsi, false};
}

QString CodePageName(int codePage) {
  switch (codePage) {
    case kCodePageAnsi:
      return QStringLiteral("Windows alapértelmezett");
    case kCodePageUtf8:
      return QStringLiteral("UTF-8");
    case kCodePageUtf16LE:
      return QStringLiteral("UTF-16 (little endien)");
    case kCodePageUtf16BE:
      return QStringLiteral("UTF-16 (big    endien)");
    case kCodePageUtf32LE:
      return QStringLiteral("UTF-32 (little endien)");
    case kCodePageUtf32BE:
      return QStringLiteral("UTF-32 (big    endien)");
  }
  return QStringLiteral("?");
}

bool CodePageSupported(quint16 codePage) {
  return codePage == kCodePageAnsi || codePage == kCodePageUtf8 || codePage == kCodePageUtf16LE;
}

TResult<TFBytes> ReadSampleExclusively(const QString& fileName) {
  TFBytes sample;
  const std::optional<QByteArray> bytes = ReadInputSample(fileName, qint64(sample.Data.size()));
  if (!bytes)
    return Fail(TFailureKind::Access,
                QStringLiteral("A fájl nem nyitható meg kizárólagos olvasásra: ") + fileName);
  std::memcpy(sample.Data.data(), bytes->constData(), size_t(bytes->size()));
  sample.Len = qint32(bytes->size());
  return sample;
}

}  // namespace krinu
