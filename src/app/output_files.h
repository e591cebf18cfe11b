#pragma once
// Where a run may write: never over its own input, never two outputs into one file, never
// into a name that is a folder.

#include <QString>
#include <QStringList>
#include <optional>

#include "app/file_names.h"

namespace krinu {

// Whether the name can only be a folder: it ends in a folder separator or names one.
[[nodiscard]] bool NamesFolder(const QString& name);

// The refusal when the output file would replace the input file.
[[nodiscard]] QString OutputIsInputMessage(const QString& output);

// The refusal when two outputs of one run would go into the same file.
[[nodiscard]] QString OutputsCollideMessage(const QString& first, const QString& second);

}  // namespace krinu
