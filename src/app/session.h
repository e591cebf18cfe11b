#pragma once
// What the program works with for as long as it runs, whichever front end shows it: the
// settings, the data folder and its database, the registers' lists and the log. Start-up
// builds it, shutdown frees it; the main window, the register windows and every krinu-cli
// command take it by reference. What one input file and its returns need is a job, which
// the session makes and its user drops.

#include <QLocale>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "app/environment.h"
#include "app/import_profiles.h"
#include "app/job.h"
#include "app/user_interface.h"
#include "common/header_masks.h"
#include "common/log_sink.h"
#include "common/record_list.h"
#include "common/records.h"
#include "masterdata/sqlite_database.h"

namespace krinu {

// How start-up ended. Aborted: the settings file is broken and the program must end.
// Failed: a failure was reported (no database); the window still opens.
enum class TStartup { NotStarted, Started, Aborted, Failed };

class TSession {
 public:
  explicit TSession(AppEnvironment env);
  ~TSession() { Close(); }
  TSession(const TSession&) = delete;
  TSession& operator=(const TSession&) = delete;

  // Reads the settings, finds the data folder, opens the database and reads both registers;
  // what fails is shown through ui. Runs once: later calls return the first outcome.
  [[nodiscard]] TStartup Start(UserInterface& ui);
  TStartup Startup() const { return startup_; }
  // Frees the lists and closes the database (rolling back an open transaction first).
  void Close();

  const AppEnvironment Env;
  const QString ProgramDir;     // ends with a separator
  const QString UserGuideFile;  // the guide the menu opens; where the own help window reads it
  QString IniFileName;
  QString DataDir;  // ends with a separator
  THeaderMasks HeaderMasks;
  QLocale OutputLocale;
  std::unique_ptr<TSQLiteDatabase> Db;
  TRecordList<TAdozoAdat> AdozokList{false};
  TRecordList<TUgyintezoAdat> UgyintezokList{true, DuplicateKeys::Error};
  // The import profiles of the data folder, read when first used.
  TProfileStore ImportProfiles;

  // A new job, with nothing of any other.
  [[nodiscard]] std::shared_ptr<TJob> NewJob() const { return std::make_shared<TJob>(); }

  // Start-up, the database bootstrap and the declaration run write here.
  LogSink Log;
  // What start-up had to settle otherwise than asked (a settings file not or only partly
  // used, a data folder other than the user's): written to the log as well, and shown by
  // each front end its own way.
  QStringList Notices;

 private:
  void FindDataDir();
  void Notice(const QString& text);

  TStartup startup_ = TStartup::NotStarted;
};

}  // namespace krinu
