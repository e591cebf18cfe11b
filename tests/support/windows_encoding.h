#pragma once
// Text in a Windows code page, for writing test files: the program's own table backwards
// (a Qt without ICU has no encoder for these code pages).

#include <QByteArray>
#include <QString>
#include <algorithm>

#include "reader/code_page_tables.h"

namespace krinu::test {

// A character the code page lacks becomes "?".
inline QByteArray EncodeWindows(const QString& text, int codePage) {
  const TByteTable table = WindowsByteTable(codePage).value();
  QByteArray bytes;
  for (const QChar c : text) {
    const auto* at = std::find(table.begin(), table.end(), c.unicode());
    bytes += at == table.end() ? '?' : char(at - table.begin());
  }
  return bytes;
}

}  // namespace krinu::test
