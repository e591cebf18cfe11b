#pragma once
// Writing a whole file so that it is either all there or not changed at all (a device or a
// FIFO is written straight into, see output_file.h).

#include <QByteArray>
#include <QString>
#include <optional>

namespace krinu {

// Writes the bytes into a temporary file beside `file` and puts it in place at the end; on
// failure the previous file stays as it was and the system's reason comes back.
[[nodiscard]] std::optional<QString> WriteFileAtomically(const QString& file,
                                                         const QByteArray& bytes);

}  // namespace krinu
