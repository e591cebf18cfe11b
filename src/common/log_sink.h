#pragma once
// Where the run log goes: the window's memo and krinu-cli both subscribe to one sink, so
// that lines reach them in the order in which they were written.

#include <QString>
#include <functional>
#include <vector>

namespace krinu {

class LogSink {
 public:
  using Subscriber = std::function<void(const QString& line)>;
  void Subscribe(Subscriber s) { subscribers_.push_back(std::move(s)); }
  void Write(const QString& line) const {
    for (const Subscriber& s : subscribers_) s(line);
  }

 private:
  std::vector<Subscriber> subscribers_;
};

}  // namespace krinu
