#pragma once
// What the libraries below the windows hand back across their public edges: a value, or a
// failure that carries the message to show and its kind. Exceptions that a library uses
// inside (the reader, SQLite) stop at its edge and come out as one of these.

#include <QString>
#include <utility>
#include <variant>

namespace krinu {

enum class TFailureKind {
  Input,      // the input file or a value cannot be used as given
  Access,     // a file or folder cannot be opened, read or written
  Database,   // the master database refused or failed
  Cancelled,  // the user stopped the work
  Memory,     // not enough memory for the work
};

struct TFailure {
  TFailureKind Kind = TFailureKind::Input;
  QString Message;
};

template <class T>
class [[nodiscard]] TResult {
 public:
  TResult(T value) : v_(std::in_place_index<0>, std::move(value)) {}
  TResult(TFailure failure) : v_(std::in_place_index<1>, std::move(failure)) {}

  [[nodiscard]] bool Ok() const { return v_.index() == 0; }
  explicit operator bool() const { return Ok(); }
  [[nodiscard]] const T& Value() const& { return std::get<0>(v_); }
  [[nodiscard]] T& Value() & { return std::get<0>(v_); }
  [[nodiscard]] T Take() && { return std::move(std::get<0>(v_)); }
  const T* operator->() const { return &Value(); }
  T* operator->() { return &Value(); }
  [[nodiscard]] const TFailure& Failure() const { return std::get<1>(v_); }
  [[nodiscard]] const QString& Message() const { return Failure().Message; }

 private:
  std::variant<T, TFailure> v_;
};

// Work that gives nothing back but may fail.
template <>
class [[nodiscard]] TResult<void> {
 public:
  TResult() = default;
  TResult(TFailure failure) : failed_(true), failure_(std::move(failure)) {}

  [[nodiscard]] bool Ok() const { return !failed_; }
  explicit operator bool() const { return Ok(); }
  [[nodiscard]] const TFailure& Failure() const { return failure_; }
  [[nodiscard]] const QString& Message() const { return failure_.Message; }

 private:
  bool failed_ = false;
  TFailure failure_;
};

using TStatus = TResult<void>;

[[nodiscard]] inline TFailure Fail(TFailureKind kind, QString message) {
  return TFailure{kind, std::move(message)};
}

// What the user is told when the memory ran out in the middle of some work; the work was
// given up and nothing of it was written.
[[nodiscard]] inline QString OutOfMemoryText() {
  return QStringLiteral("Nincs elég memória a feldolgozáshoz");
}

}  // namespace krinu
