#pragma once
// Asking the desktop to open a document with its own program, as double-clicking it would.

#include <QString>

namespace krinu {

// False when the desktop could not open it.
bool OpenWithShell(const QString& path);

}  // namespace krinu
