#pragma once
// Reading a file while no other process may write it: the platform's stand-in for opening
// it with write sharing refused.

#include <QByteArray>
#include <QString>
#include <optional>

namespace krinu {

// Up to maxBytes of the file's first bytes; nothing when the file cannot be opened, is no
// regular file, or some process has it open for writing. The file is closed again.
std::optional<QByteArray> ReadDenyingWriters(const QString& fileName, qint64 maxBytes);

// Whether any process, this one included, has the file open for writing.
bool AnyProcessWrites(const QString& fileName);

}  // namespace krinu
