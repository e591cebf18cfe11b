#include "common/clock.h"

namespace krinu {
namespace {
std::function<QDate()>& Override() {
  static std::function<QDate()> today;
  return today;
}
}  // namespace

QDate Clock::Today() {
  return Override() ? Override()() : QDate::currentDate();
}

void Clock::SetTodayForTesting(std::function<QDate()> today) {
  Override() = std::move(today);
}

}  // namespace krinu
