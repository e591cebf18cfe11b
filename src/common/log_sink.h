#pragma once
// Where the run log goes: the window's memo and krinu-cli subscribe to one sink, so that
// every subscriber gets the lines in the order in which they were written.

#include <QString>
#include <functional>
#include <vector>

namespace krinu {

// Who wrote a line: start-up, the database bootstrap, or the declaration run.
enum class LogSource { Startup, Database, Run };

class LogSink {
 public:
  using Subscriber = std::function<void(LogSource source, const QString& line)>;
  void Subscribe(Subscriber s) { subscribers_.push_back(std::move(s)); }
  void Write(LogSource source, const QString& line) const {
    for (const Subscriber& s : subscribers_) s(source, line);
  }

 private:
  std::vector<Subscriber> subscribers_;
};

}  // namespace krinu
