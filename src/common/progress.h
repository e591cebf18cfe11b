#pragma once
#include <QtGlobal>
#include <functional>

namespace krinu {

// Progress of long work: units done of total (bytes, records); total 0 means unknown.
using ProgressFn = std::function<void(qint64 done, qint64 total)>;

// The same for work that can still be abandoned: false asks it to stop.
using CancellableProgressFn = std::function<bool(qint64 done, qint64 total)>;

// Hot loops report only every kEvery units: one comparison per unit, a call now and then.
class TProgressTicker {
 public:
  static constexpr qint64 kEvery = qint64(1) << 16;

  explicit TProgressTicker(const CancellableProgressFn& report) : report_(report) {}

  // False once the report asked to stop; it then stays false.
  bool At(qint64 done, qint64 total) {
    if (done < next_) return true;
    return Now(done, total);
  }
  // Reports whatever the count, at the start and end of a step.
  bool Now(qint64 done, qint64 total) {
    next_ = done + kEvery;
    if (!stopped_ && report_ && !report_(done, total)) stopped_ = true;
    return !stopped_;
  }
  [[nodiscard]] bool Stopped() const { return stopped_; }

 private:
  const CancellableProgressFn& report_;
  qint64 next_ = 0;
  bool stopped_ = false;
};

}  // namespace krinu
