#pragma once
#include <QString>
#include <QTemporaryDir>

#include <optional>

#include "common/log_sink.h"
#include "common/result.h"
#include "support/qt_printers.h"

namespace krinu::test {

// Writes bytes to a file, creating folders on the way; fails the test on error.
void WriteFile(const QString& path, const QByteArray& bytes);
QByteArray ReadFile(const QString& path);

// A log sink that keeps every line written to it.
class CapturedLog {
 public:
  CapturedLog() {
    subscription_ = sink_.Subscribe([this](LogSource, const QString& line) { Lines.append(line); });
  }
  CapturedLog(const CapturedLog&) = delete;
  CapturedLog& operator=(const CapturedLog&) = delete;
  operator const LogSink&() const { return sink_; }
  QStringList Lines;

 private:
  LogSink sink_;
  LogSubscription subscription_;
};

// A failure's message, or nothing for success: what the tests of writes compare.
inline std::optional<QString> ErrorOf(const TStatus& status) {
  if (status) return std::nullopt;
  return status.Message();
}

// An export with a header row whose dates read as mm/dd/yyyy and as dd/mm/yyyy alike (every
// day is at most 12): the detection cannot choose the date format.
QByteArray UndecidableDateExport(int year, int month, const QByteArray& separator = ";");

// The build's program folder (bin/, with krinu.ini and Help/), ending with a separator.
QString BinDir();

}  // namespace krinu::test
