#include "app/file_names.h"

#include <QDir>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

namespace krinu {

namespace {

// The name with its folder resolved, for a file that need not exist yet.
QString ResolvedName(const QString& name) {
  const QFileInfo info(QDir::fromNativeSeparators(name));
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
#ifdef Q_OS_WIN
  constexpr Qt::CaseSensitivity kCase = Qt::CaseInsensitive;
#else
  constexpr Qt::CaseSensitivity kCase = Qt::CaseSensitive;
#endif
  return ResolvedName(a).compare(ResolvedName(b), kCase) == 0;
}

}  // namespace krinu
