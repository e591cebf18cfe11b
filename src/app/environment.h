#pragma once
// Where the program stands on the machine: its own path, the settings file, the per-user
// folder and a data folder chosen on the command line. Both programs build it here.

#include <QString>

namespace krinu {

// The variable that names the per-user folder.
#ifdef Q_OS_WIN
inline constexpr char kUserProfileVariable[] = "USERPROFILE";
#else
inline constexpr char kUserProfileVariable[] = "HOME";
#endif

struct AppEnvironment {
  QString ProgramPath;      // full path of the running program
  QString IniFileName;      // settings file; empty: krinu.ini beside the program
  QString UserProfile;      // the per-user folder; empty: none
  QString DataDirOverride;  // a data folder chosen on the command line; empty: none
};

// From the program's path, the process environment and the two global options (empty when
// not given); relative option paths are taken from the current folder.
AppEnvironment BuildAppEnvironment(const QString& programPath, const QString& dataDirOption,
                                   const QString& iniOption);

}  // namespace krinu
