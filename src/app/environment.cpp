#include "app/environment.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "krinu_version.h"

namespace krinu {

QString VersionText() {
  return QString::fromLatin1(kVersionText);
}

// Paths the user sees (the log, messages) are written as the system writes them.
QString FolderOf(const QString& path) {
  return WithTrailingSeparator(QFileInfo(path).absolutePath());
}

QString WithTrailingSeparator(const QString& folder) {
  QString dir = QDir::toNativeSeparators(folder);
  if (!dir.endsWith(QDir::separator())) dir += QDir::separator();
  return dir;
}

QString ProgramFile(const QString& programDir, const QString& relativePath) {
  const QString beside = QDir::toNativeSeparators(programDir + relativePath);
  if (QFileInfo::exists(beside)) return beside;
  const QString shared = QDir::toNativeSeparators(
      QDir::cleanPath(programDir + QStringLiteral("../share/krinu/") + relativePath));
  return QFileInfo::exists(shared) ? shared : beside;
}

QString DialogStartFolder(const QStringList& candidates) {
  for (const QString& folder : candidates)
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) return QDir::toNativeSeparators(folder);
  return {};
}

AppEnvironment BuildAppEnvironment(const QString& programPath, const QString& dataDirOption,
                                   const QString& iniOption) {
  AppEnvironment env;
  env.ProgramPath = programPath;
  env.UserProfile = qEnvironmentVariable(kUserProfileVariable);
  // Started from the Start menu, the current folder is the program's own: a bookkeeper's
  // exports are in Documents. A Linux desktop's file dialogs start at home.
#ifdef Q_OS_WIN
  env.DocumentsDir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
#else
  env.DocumentsDir = env.UserProfile;
#endif
  if (!dataDirOption.isEmpty()) env.DataDirOverride = QFileInfo(dataDirOption).absoluteFilePath();
  if (!iniOption.isEmpty()) env.IniFileName = QFileInfo(iniOption).absoluteFilePath();
  return env;
}

}  // namespace krinu
