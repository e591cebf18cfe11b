#pragma once
// One loaded invoice line and the list the load fills and the declaration run reads.

#include <QDate>
#include <QString>
#include <vector>

namespace krinu {

enum class TAFAAdatStatus : quint8 {
  stAFABase,
  stAFAComp,
  stAFAPair,
  stAFADataError,
  stAFAPairError
};

// "Date-time zero": the date of a line whose date field was never set.
inline QDate DateTimeZero() {
  return QDate(1899, 12, 30);
}

struct TAFAAdat {
  QString Adoszam;     // trimmed, as written otherwise; also the list key
  QString Megnevezes;  // as read
  QDate Datum = DateTimeZero();
  QString BizSzam;  // as read
  double AFAAlap = 0;
  double AFA = 0;
  TAFAAdatStatus Status = TAFAAdatStatus::stAFABase;
  bool Enabled = false;
};

// Sorted by Adoszam once a load ends (stable: equal keys keep the order of the file).
using TAFAAdatList = std::vector<TAFAAdat>;

}  // namespace krinu
