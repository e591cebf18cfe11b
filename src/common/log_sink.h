#pragma once
// Where the run log goes: the window's memo and krinu-cli subscribe to one sink, so that
// every subscriber gets the lines in the order in which they were written. A subscription
// is an owner: when it goes, its subscriber is never called again, whichever of the sink
// and the subscriber dies first.

#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace krinu {

// Who wrote a line: start-up, the database bootstrap, or the declaration run.
enum class LogSource { Startup, Database, Run };

class LogSink;

class [[nodiscard]] LogSubscription {
 public:
  LogSubscription() = default;
  LogSubscription(LogSubscription&& other) noexcept = default;
  LogSubscription& operator=(LogSubscription&& other) noexcept {
    if (this != &other) {
      Release();
      registry_ = std::move(other.registry_);
      id_ = other.id_;
    }
    return *this;
  }
  LogSubscription(const LogSubscription&) = delete;
  LogSubscription& operator=(const LogSubscription&) = delete;
  ~LogSubscription() { Release(); }

  // Ends the subscription now.
  void Release();
  [[nodiscard]] bool Active() const { return !registry_.expired(); }

 private:
  friend class LogSink;
  struct TRegistry;
  LogSubscription(std::weak_ptr<TRegistry> registry, quint64 id)
      : registry_(std::move(registry)), id_(id) {}
  std::weak_ptr<TRegistry> registry_;
  quint64 id_ = 0;
};

class LogSink {
 public:
  using Subscriber = std::function<void(LogSource source, const QString& line)>;

  LogSink();
  LogSink(const LogSink&) = delete;
  LogSink& operator=(const LogSink&) = delete;

  // The subscriber hears every line written while the returned owner lives.
  [[nodiscard]] LogSubscription Subscribe(Subscriber s);
  void Write(LogSource source, const QString& line) const;
  [[nodiscard]] std::size_t SubscriberCount() const;

 private:
  std::shared_ptr<LogSubscription::TRegistry> registry_;
};

struct LogSubscription::TRegistry {
  struct TEntry {
    quint64 Id = 0;
    std::shared_ptr<const LogSink::Subscriber> Call;
  };
  std::vector<TEntry> Entries;
  quint64 NextId = 1;
};

inline LogSink::LogSink() : registry_(std::make_shared<LogSubscription::TRegistry>()) {}

inline LogSubscription LogSink::Subscribe(Subscriber s) {
  const quint64 id = registry_->NextId++;
  registry_->Entries.push_back({id, std::make_shared<const Subscriber>(std::move(s))});
  return LogSubscription(registry_, id);
}

inline void LogSink::Write(LogSource source, const QString& line) const {
  // By index: a subscriber may end a subscription (its own or another's) while it is called.
  const std::vector<LogSubscription::TRegistry::TEntry>& entries = registry_->Entries;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::shared_ptr<const Subscriber> call = entries[i].Call;  // survives its release
    (*call)(source, line);
  }
}

inline std::size_t LogSink::SubscriberCount() const {
  return registry_->Entries.size();
}

inline void LogSubscription::Release() {
  if (const std::shared_ptr<TRegistry> registry = registry_.lock()) {
    std::erase_if(registry->Entries, [this](const TRegistry::TEntry& e) { return e.Id == id_; });
  }
  registry_.reset();
}

}  // namespace krinu
