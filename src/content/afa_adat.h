#pragma once
// One loaded invoice line and the list the load fills and the declaration run reads.

#include <QDate>
#include <memory>
#include <vector>

#include "content/line_text.h"
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
  TLineText Adoszam;     // trimmed, as written otherwise; also the list key
  TLineText Megnevezes;  // as read
  QDate Datum = DateTimeZero();
  TLineText BizSzam;  // as read
  double AFAAlap = 0;
  double AFA = 0;
  TAFAAdatStatus Status = TAFAAdatStatus::stAFABase;
  bool Enabled = false;
};

// Sorted by Adoszam once a load ends (stable: equal keys keep the order of the file). The
// list owns its lines and the text they point into: a load keeps the lines' texts in
// TextBlocks, which every copy of the list shares, so a line's texts stay valid as long as
// some list that holds the line does. A line or a text copied out on its own must not
// outlive them all (ToString() makes a copy that may).
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
