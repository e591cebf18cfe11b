#pragma once
// The rows of a batch run by krinu-cli processes of their own (`krinu-cli batch --worker`):
// one row a JSON line on the worker's standard input, one result a JSON line on its
// standard output. krinu-cli runs a batch so on several cores; the window runs its batch so
// that every job is convert's own, in a session apart from the window's.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "app/batch_manifest.h"
#include "app/batch_table.h"
#include "app/environment.h"

namespace krinu {

// A row and how it is to run, as a worker takes it.
struct TBatchRequest {
  TBatchRow Row;
  bool Strict = false;
};
[[nodiscard]] QByteArray BatchRequestLine(const TBatchRequest& request);
[[nodiscard]] std::optional<TBatchRequest> BatchRequestOf(const QByteArray& line);
[[nodiscard]] QByteArray BatchResultLine(const TBatchResult& result);

// krinu-cli beside the running program (which may be krinu-cli itself).
[[nodiscard]] QString BatchWorkerProgram(const AppEnvironment& env);

// One worker process, running one row at a time.
class TBatchWorker {
 public:
  TBatchWorker() = default;
  TBatchWorker(TBatchWorker&&) = default;
  TBatchWorker& operator=(TBatchWorker&&) = default;
  ~TBatchWorker();

  // Starts krinu-cli with env's data folder and settings file; false when it cannot run.
  bool Start(const AppEnvironment& env);
  [[nodiscard]] bool Alive() const { return process_ != nullptr; }
  [[nodiscard]] bool Busy() const { return row_ >= 0; }
  [[nodiscard]] qsizetype Row() const { return row_; }  // the row it runs, -1 for none
  void Send(qsizetype index, const TBatchRequest& request);
  // The result of the row it runs once there is one: the worker's own, or a failure of the
  // row when the process ended meanwhile (the worker is then gone).
  [[nodiscard]] std::optional<TBatchResult> Take(const TBatchRow& row);
  void Wait(int milliseconds);
  // Closes its input and waits for it to end.
  void Finish();

 private:
  std::unique_ptr<QProcess> process_;
  qsizetype row_ = -1;
};

// Runs the row in the worker, started when it is not running, and waits for its result.
[[nodiscard]] TBatchResult RunInWorker(TBatchWorker& worker, const AppEnvironment& env,
                                       const TBatchRequest& request);

}  // namespace krinu
