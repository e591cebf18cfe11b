#include "app/environment.h"

#include <QFileInfo>

namespace krinu {

AppEnvironment BuildAppEnvironment(const QString& programPath, const QString& dataDirOption,
                                   const QString& iniOption) {
  AppEnvironment env;
  env.ProgramPath = programPath;
  env.UserProfile = qEnvironmentVariable(kUserProfileVariable);
  if (!dataDirOption.isEmpty()) env.DataDirOverride = QFileInfo(dataDirOption).absoluteFilePath();
  if (!iniOption.isEmpty()) env.IniFileName = QFileInfo(iniOption).absoluteFilePath();
  return env;
}

}  // namespace krinu
