#pragma once
// One output file being written. A regular file (or a new name) gets its bytes beside it
// and is replaced only when all of them were written. A character device or a FIFO (a
// pipe to another program, /dev/null) is written straight into: renaming a finished file
// over it would put an ordinary file where the device stood. Other kinds of entries (a
// block device, a socket) are refused.

#include <QByteArrayView>
#include <QFile>
#include <QSaveFile>
#include <QString>
#include <optional>

namespace krinu {

// Whether the name, its links followed, is an existing entry that is neither a regular
// file nor a folder: a device, a FIFO, a socket. Such a name is used as given, never
// completed with an extension.
[[nodiscard]] bool NamesSpecialFile(const QString& name);

class TOutputFile {
 public:
  explicit TOutputFile(const QString& name);
  TOutputFile(const TOutputFile&) = delete;
  TOutputFile& operator=(const TOutputFile&) = delete;

  // The reason, in the system's words (or the program's for a refused kind), when the
  // output cannot be opened.
  [[nodiscard]] std::optional<QString> Open();
  // False on failure; Reason() tells why.
  [[nodiscard]] bool Write(QByteArrayView bytes);
  // Puts the file in place (a stream: closes it); the reason when that failed.
  [[nodiscard]] std::optional<QString> Commit();
  // Drops what was written to a temporary file; what went into a stream has gone.
  void Cancel();
  [[nodiscard]] QString Reason() const;
  [[nodiscard]] bool IsStream() const { return stream_.has_value(); }

 private:
  QString name_;
  std::optional<QSaveFile> save_;
  std::optional<QFile> stream_;
  QString refused_;
  int errno_ = 0;
  qint64 written_ = 0;
};

}  // namespace krinu
