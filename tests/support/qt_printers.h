#pragma once
// Readable GoogleTest failure output for Qt strings and the lines' texts.
#include <QString>
#include <QStringList>
#include <ostream>

#include "content/line_text.h"

inline void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* os) {
  *os << '{';
  for (qsizetype i = 0; i < list.size(); ++i) {
    if (i) *os << ", ";
    PrintTo(list[i], os);
  }
  *os << '}';
}

namespace krinu {
inline void PrintTo(const TLineText& s, std::ostream* os) {
  ::PrintTo(s.ToString(), os);
}
}  // namespace krinu
