#include "app/output_files.h"

#include <QDir>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

namespace krinu {

namespace {

// The name with its folder resolved, for a file that need not exist yet.
QString ResolvedName(const QString& name) {
  const QFileInfo info(name);
  const QString canonical = info.canonicalFilePath();
  if (!canonical.isEmpty()) return canonical;
  const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
  if (folder.isEmpty()) return QDir::cleanPath(info.absoluteFilePath());
  return QDir(folder).filePath(info.fileName());
}

}  // namespace

bool SameFile(const QString& a, const QString& b) {
  if (a.isEmpty() || b.isEmpty()) return false;
  std::error_code error;
  const bool equivalent = std::filesystem::equivalent(
      std::filesystem::path(a.toStdU16String()), std::filesystem::path(b.toStdU16String()), error);
  if (!error && equivalent) return true;
  return ResolvedName(a) == ResolvedName(b);
}

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
