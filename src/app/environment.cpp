#include "app/environment.h"

#include <QDir>
#include <QFileInfo>

#include "common/text_util.h"
#include "krinu_version.h"

namespace krinu {

QString VersionText() {
  return QString::number(kVersionMajor) + QLatin1Char('.') + ZeroPadded(kVersionMinor, 2);
}

QString FolderOf(const QString& path) {
  QString dir = QFileInfo(path).absolutePath();
  if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
  return dir;
}

QString ProgramFile(const QString& programDir, const QString& relativePath) {
  const QString beside = programDir + relativePath;
  if (QFileInfo::exists(beside)) return beside;
  const QString shared =
      QDir::cleanPath(programDir + QStringLiteral("../share/krinu/") + relativePath);
  return QFileInfo::exists(shared) ? shared : beside;
}

AppEnvironment BuildAppEnvironment(const QString& programPath, const QString& dataDirOption,
                                   const QString& iniOption) {
  AppEnvironment env;
  env.ProgramPath = programPath;
  env.UserProfile = qEnvironmentVariable("HOME");
  if (!dataDirOption.isEmpty()) env.DataDirOverride = QFileInfo(dataDirOption).absoluteFilePath();
  if (!iniOption.isEmpty()) env.IniFileName = QFileInfo(iniOption).absoluteFilePath();
  return env;
}

}  // namespace krinu
