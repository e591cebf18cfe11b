#pragma once
// What the window remembers between runs for one user: the input files opened last and the
// folders the open and save dialogs were left in. Kept in a small file in the data folder,
// never in the settings file beside the program, which stays read-only.

#include <QRect>
#include <QString>
#include <QStringList>
#include <optional>

namespace krinu {

struct TRecentFiles {
  static constexpr int kMaxFiles = 5;

  QStringList Files;  // most recent first, no path twice
  QString InputDir;   // where the open dialog was left
  QString XmlDir;     // where the save dialog was left
  QRect Window;       // the main window's place and size when it was last closed (normal state)
  bool Maximized = false;

  // Puts the path first; the same file further down (SameFile) moves up, the oldest beyond
  // the limit falls off.
  void Add(const QString& path);
  // False when the path was not in the list.
  bool Remove(const QString& path);

  bool operator==(const TRecentFiles&) const = default;
};

// The file in the data folder (which ends with a separator).
[[nodiscard]] QString RecentFilesName(const QString& dataDir);

// A missing, unreadable or damaged file reads as an empty list: what it remembers is a
// convenience, never a reason to stop. Entries of the wrong kind are left out one by one.
[[nodiscard]] TRecentFiles LoadRecentFiles(const QString& fileName);

// Written as a whole beside the old file and then moved over it, so a failed write keeps
// the previous contents. Returns why it failed, or nothing.
[[nodiscard]] std::optional<QString> SaveRecentFiles(const QString& fileName,
                                                     const TRecentFiles& recent);

}  // namespace krinu
