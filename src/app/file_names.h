#pragma once
// The one rule for whether two names reach one file: the output checks and the recent-files
// list both ask it.

#include <QString>

namespace krinu {

// Whether the two names reach the same file: symbolic links, "." and ".." resolved, either
// separator accepted, and for two existing files the file itself compared, so that a second
// hard link counts too. Names of files that do not exist (yet) compare as the platform
// compares them: without regard to letter case on Windows.
[[nodiscard]] bool SameFile(const QString& a, const QString& b);

}  // namespace krinu
