#pragma once
// The settings file: an INI file beside the program, read once at start-up, never written.

#include <QDate>
#include <QString>
#include <optional>
#include <utility>

#include "common/header_masks.h"

namespace krinu {

// The masks of section "DATA_COLUMN" of iniFileName; nullopt when the file could not be
// read at all, which start-up reports as a broken settings file.
// skippedLines, when given, receives the numbers of the lines of a UTF-8 file that were left
// out for not being UTF-8.
[[nodiscard]] std::optional<THeaderMasks> LoadHeaderMasks(const QString& iniFileName,
                                                          QStringList* skippedLines = nullptr);

// The masks a settings file without a DATA_COLUMN section gives.
[[nodiscard]] THeaderMasks BuiltInHeaderMasks();

// The largest settings file read; the shipped one is a few kilobytes.
inline constexpr qint64 kMaxIniBytes = qint64(1) << 20;

// Value of key in section of INI text; nullopt when the section or key is missing.
// Section and key names are matched without regard to case; blanks around the value
// and one pair of enclosing quotes are removed, as Windows' own INI reader does.
std::optional<QString> IniValue(const QString& iniText, const QString& section, const QString& key);

// The default return period: the whole previous calendar month.
std::pair<QDate, QDate> PreviousMonth(const QDate& today);

}  // namespace krinu
