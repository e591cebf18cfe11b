#pragma once
// One loaded invoice line and the list the load fills and the declaration run reads.

#include <QDate>
#include <limits>
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
  static const QDate zero(1899, 12, 30);  // made once: every new line starts with it
  return zero;
}

// A line's date in four bytes: its day number. Every date the load can read (years 1 to
// 9999) and date-time zero fit with room to spare; the null date, and any date beyond some
// five million years either way, read back as the null date.
class TLineDate {
 public:
  TLineDate() = default;
  TLineDate(QDate date) : day_(DayOf(date)) {}  // NOLINT: stands for a QDate
  operator QDate() const { return Date(); }     // NOLINT: read as a QDate
  [[nodiscard]] QDate Date() const { return day_ == kNull ? QDate() : QDate::fromJulianDay(day_); }
  [[nodiscard]] qint64 toJulianDay() const { return Date().toJulianDay(); }

  friend bool operator==(TLineDate a, TLineDate b) { return a.day_ == b.day_; }
  friend bool operator==(TLineDate a, QDate b) { return a.Date() == b; }
  friend bool operator<(TLineDate a, QDate b) { return a.Date() < b; }
  friend bool operator>(TLineDate a, QDate b) { return a.Date() > b; }

 private:
  static constexpr qint32 kNull = std::numeric_limits<qint32>::min();
  static qint32 DayOf(QDate date) {
    const qint64 day = date.isValid() ? date.toJulianDay() : kNull;
    return day > kNull && day <= std::numeric_limits<qint32>::max() ? qint32(day) : kNull;
  }
  qint32 day_ = kNull;
};

// The date stands beside the two one-byte fields: a line takes 48 bytes, not 56.
struct TAFAAdat {
  TLineText Adoszam;     // trimmed, as written otherwise; also the list key
  TLineText Megnevezes;  // as read
  TLineText BizSzam;     // as read
  double AFAAlap = 0;
  double AFA = 0;
  TLineDate Datum = DateTimeZero();
  TAFAAdatStatus Status = TAFAAdatStatus::stAFABase;
  bool Enabled = false;
};
// A million of them are the load's memory.
static_assert(sizeof(TAFAAdat) == 48);

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
