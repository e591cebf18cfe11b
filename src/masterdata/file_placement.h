#pragma once
// Putting a finished file in place: made under another name in the target's folder, then
// moved to its name in one step, so that nobody ever finds it half-written.

#include <QString>

namespace krinu {

struct TPlacement {
  bool Moved = false;
  bool TargetExists = false;  // something was at the target already; nothing was moved
  QString Reason;             // the system's reason when nothing was moved
};

// Renames from to to, never replacing anything already at to.
[[nodiscard]] TPlacement MoveIntoPlace(const QString& from, const QString& to);

// Writes a file's data through to the disk, so that a move of it is a move of the data.
[[nodiscard]] bool SyncToDisk(const QString& path);

}  // namespace krinu
