#pragma once
// Where the program stands on the machine: its own path, the settings file, the per-user
// folder and a data folder chosen on the command line. Both programs build it here.

#include <QString>
#include <QStringList>

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
  // Where the file dialogs open until one of them is remembered: the user's documents (the
  // home folder where no such folder is usual); empty: wherever the dialog likes.
  QString DocumentsDir;
};

// The program's version as the title bar shows it: "1.07".
QString VersionText();

// The folder of a path, ending with a separator.
QString FolderOf(const QString& path);
// A folder with the system's separators, ending with one.
QString WithTrailingSeparator(const QString& folder);

// A file the program ships (krinu.ini, Help/...): beside the program, or in
// ../share/krinu/ when installed; the path beside the program when neither has it.
QString ProgramFile(const QString& programDir, const QString& relativePath);

// The folder a file dialog opens in: the first candidate that is a folder (the one the
// dialog was left in, say, then the user's documents), with the system's separators; empty,
// the dialog's own choice, when none is.
[[nodiscard]] QString DialogStartFolder(const QStringList& candidates);

// From the program's path, the process environment and the two global options (empty when
// not given); relative option paths are taken from the current folder.
AppEnvironment BuildAppEnvironment(const QString& programPath, const QString& dataDirOption,
                                   const QString& iniOption);

}  // namespace krinu
