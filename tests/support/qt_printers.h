#pragma once
// Readable GoogleTest failure output for Qt strings and the lines' texts.
#include <QString>
#include <QStringList>
#include <ostream>

#include "content/afa_adat.h"

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
inline void PrintTo(TLineDate d, std::ostream* os) {
  *os << d.Date().toString(Qt::ISODate).toStdString();
}
}  // namespace krinu
