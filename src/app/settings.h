#pragma once
// The settings file: an INI file beside the program, read once at start-up, never written.

#include <QDate>
#include <QString>
#include <optional>
#include <utility>

#include "common/header_masks.h"

namespace krinu {

// Reads section "DATA_COLUMN" of iniFileName into masks (appending; the lists are not
// cleared). Returns true when the file could not be read at all, which start-up reports
// as a broken settings file.
bool LoadHeaderMasks(const QString& iniFileName, THeaderMasks& masks);

// Value of key in section of INI text; nullopt when the section or key is missing.
// Section and key names are matched without regard to case; blanks around the value
// and one pair of enclosing quotes are removed, as Windows' own INI reader does.
std::optional<QString> IniValue(const QString& iniText, const QString& section, const QString& key);

// The default return period: the whole previous calendar month.
std::pair<QDate, QDate> PreviousMonth(const QDate& today);

}  // namespace krinu
