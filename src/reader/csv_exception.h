#pragma once
#include <QString>
#include <stdexcept>

namespace krinu {

// The one exception type of the reader and its text source. Message() is the text the
// application shows to the user (after "Hiba: "); what() carries the same text in UTF-8.
class EqdxCSVException : public std::runtime_error {
 public:
  explicit EqdxCSVException(const QString& message)
      : std::runtime_error(message.toStdString()), FMessage(message) {}
  const QString& Message() const noexcept { return FMessage; }

 private:
  QString FMessage;
};

}  // namespace krinu
