#pragma once
// One loaded invoice line and the list the load fills and the declaration run reads.

#include <QDate>
#include <QString>
#include <memory>
#include <vector>

#include "content/text_arena.h"

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

// Sorted by Adoszam once a load ends (stable: equal keys keep the order of the file). The
// list owns its lines and the text they point into: a load keeps the invoice numbers in
// TextBlocks, which every copy of the list shares, so a line's strings stay valid as long
// as some list that holds the line does. A line or an invoice number copied out on its own
// must not outlive them all (QString::detach() on it makes a copy that may).
class TAFAAdatList : public std::vector<TAFAAdat> {
 public:
  using std::vector<TAFAAdat>::vector;
  void clear() {
    std::vector<TAFAAdat>::clear();
    TextBlocks.reset();
  }
  std::shared_ptr<const TTextArena> TextBlocks;
};

}  // namespace krinu
