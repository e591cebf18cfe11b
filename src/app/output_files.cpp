#include "app/output_files.h"

#include <QDir>
#include <QFileInfo>

namespace krinu {

bool NamesFolder(const QString& name) {
  return name.endsWith(u'/') || name.endsWith(QDir::separator()) || QFileInfo(name).isDir();
}

QString OutputIsInputMessage(const QString& output) {
  return QStringLiteral("A kimeneti fájl azonos az input fájllal: ") +
         QDir::toNativeSeparators(output) +
         QStringLiteral("\nAz input fájl nem írható felül, kérem adjon meg egy másik fájlt");
}

QString OutputsCollideMessage(const QString& first, const QString& second) {
  return QStringLiteral("Két kimenet ugyanabba a fájlba kerülne: ") +
         QDir::toNativeSeparators(first) + QStringLiteral(", ") + QDir::toNativeSeparators(second) +
         QStringLiteral("\nKérem adjon meg különböző fájlokat");
}

}  // namespace krinu
