#pragma once
#include <QDate>
#include <functional>

namespace krinu {

// "Today" comes from here so that tests can pin the date.
class Clock {
 public:
  static QDate Today();
  static void SetTodayForTesting(std::function<QDate()> today);  // empty: the real clock
};

}  // namespace krinu
