#include "common/atomic_write.h"

#include "common/output_file.h"

namespace krinu {

std::optional<QString> WriteFileAtomically(const QString& file, const QByteArray& bytes) {
  TOutputFile out(file);
  if (std::optional<QString> refused = out.Open()) return refused;
  if (!out.Write(bytes)) {
    const QString reason = out.Reason();
    out.Cancel();
    return reason;
  }
  return out.Commit();
}

}  // namespace krinu
