#pragma once
// Every handler of every window and of krinu-cli runs through here: a failure that the
// handler lets escape (a database error while reloading a register, say) is shown as an
// error box instead of ending the program, and a progress that was started is ended.

#include <QString>
#include <functional>

#include "app/user_interface.h"
#include "common/progress.h"

namespace krinu {

// Runs handler; what escapes it is shown by ui as an error box. True when nothing escaped.
bool RunHandler(UserInterface& ui, const std::function<void()>& handler);

// A progress report that ends itself, whatever way the work leaves the scope.
class TProgressScope {
 public:
  TProgressScope(UserInterface& ui, QString what) : ui_(ui), what_(std::move(what)) {}
  ~TProgressScope() {
    if (started_) ui_.Progress(what_, -1, 0);
  }
  TProgressScope(const TProgressScope&) = delete;
  TProgressScope& operator=(const TProgressScope&) = delete;

  void Report(qint64 done, qint64 total) {
    started_ = true;
    ui_.Progress(what_, done, total);
  }
  // Ends the progress for now (a question is asked); a later report shows it again.
  void End() {
    if (started_) ui_.Progress(what_, -1, 0);
    started_ = false;
  }
  ProgressFn Callback() {
    return [this](qint64 done, qint64 total) { Report(done, total); };
  }
  // Work in phases: each phase's reports show its own text in the one progress.
  ProgressFn Phase(QString what) {
    return [this, what = std::move(what)](qint64 done, qint64 total) {
      what_ = what;
      Report(done, total);
    };
  }
  // A phase the user may stop: its callback answers false once they asked to.
  CancellableProgressFn CancellablePhase(QString what) {
    return [this, what = std::move(what)](qint64 done, qint64 total) {
      what_ = what;
      started_ = true;
      return !ui_.CancellableProgress(what_, done, total);
    };
  }

 private:
  UserInterface& ui_;
  QString what_;
  bool started_ = false;
};

}  // namespace krinu
