#include "common/atomic_write.h"

#include <QSaveFile>
#include <cerrno>

#include "common/write_error.h"

namespace krinu {

std::optional<QString> WriteFileAtomically(const QString& file, const QByteArray& bytes) {
  // QSaveFile never falls back to writing the target in place. Unbuffered: a write held in
  // the buffer would fail only inside commit(), which does not report it, and a cut-off file
  // would stand in place of the old one.
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return out.errorString();
  errno = 0;
  if (out.write(bytes) != bytes.size()) {
    const QString reason = WriteErrorReason(out, errno);
    out.cancelWriting();
    return reason;
  }
  errno = 0;
  if (!out.commit()) return WriteErrorReason(out, errno);
  return std::nullopt;
}

}  // namespace krinu
