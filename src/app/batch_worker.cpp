#include "app/batch_worker.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace krinu {

QByteArray BatchRequestLine(const TBatchRequest& request) {
  QJsonArray cells;
  for (const QString& cell : request.Row.Cells) cells.append(cell);
  const QJsonObject o{{QStringLiteral("cells"), cells},
                      {QStringLiteral("line"), request.Row.Line},
                      {QStringLiteral("strict"), request.Strict}};
  return QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<TBatchRequest> BatchRequestOf(const QByteArray& line) {
  const QJsonDocument doc = QJsonDocument::fromJson(line);
  if (!doc.isObject()) return std::nullopt;
  const QJsonObject o = doc.object();
  TBatchRequest request;
  const QJsonArray cells = o.value(QStringLiteral("cells")).toArray();
  for (int i = 0; i < kManifestColumns && i < cells.size(); ++i)
    request.Row.Cells[size_t(i)] = cells[i].toString();
  request.Row.Line = o.value(QStringLiteral("line")).toInt();
  request.Strict = o.value(QStringLiteral("strict")).toBool();
  return request;
}

QByteArray BatchResultLine(const TBatchResult& result) {
  return QJsonDocument(result.ToJson()).toJson(QJsonDocument::Compact) + '\n';
}

QString BatchWorkerProgram(const AppEnvironment& env) {
  const QFileInfo program(env.ProgramPath);
#ifdef Q_OS_WIN
  const QString name = QStringLiteral("krinu-cli.exe");
#else
  const QString name = QStringLiteral("krinu-cli");
#endif
  return program.fileName() == name ? env.ProgramPath : program.dir().filePath(name);
}

TBatchWorker::~TBatchWorker() {
  Finish();
}

bool TBatchWorker::Start(const AppEnvironment& env) {
  const QString program = BatchWorkerProgram(env);
  if (!QFileInfo(program).isExecutable()) return false;
  QStringList args;
  if (!env.DataDirOverride.isEmpty()) args << QStringLiteral("--data-dir") << env.DataDirOverride;
  if (!env.IniFileName.isEmpty()) args << QStringLiteral("--ini") << env.IniFileName;
  args << QStringLiteral("batch") << QStringLiteral("--worker");
  auto process = std::make_unique<QProcess>();
  // Its start-up notes repeat the batch's own.
  process->setStandardErrorFile(QProcess::nullDevice());
#ifdef Q_OS_WIN
  // Started from the window, a console program would open a console window of its own.
  process->setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* a) {
    constexpr unsigned long kCreateNoWindow = 0x08000000;  // CREATE_NO_WINDOW
    a->flags |= kCreateNoWindow;
  });
#endif
  process->start(program, args);
  if (!process->waitForStarted()) return false;
  process_ = std::move(process);
  row_ = -1;
  return true;
}

void TBatchWorker::Send(qsizetype index, const TBatchRequest& request) {
  row_ = index;
  process_->write(BatchRequestLine(request));
  // Without an event loop a process's input is sent only while it is waited on.
  process_->waitForBytesWritten(5000);
}

std::optional<TBatchResult> TBatchWorker::Take(const TBatchRow& row) {
  if (!process_ || row_ < 0) return std::nullopt;
  if (process_->canReadLine()) {
    row_ = -1;
    return TBatchResult::FromJson(QJsonDocument::fromJson(process_->readLine()).object());
  }
  if (process_->state() != QProcess::NotRunning) return std::nullopt;
  const int code = process_->exitCode();
  process_.reset();
  row_ = -1;
  return FailedBatchResult(
      row, QStringLiteral("A feladatot futtató folyamat váratlanul leállt (kilépési kód: %1).")
               .arg(code));
}

void TBatchWorker::Wait(int milliseconds) {
  if (process_) process_->waitForReadyRead(milliseconds);
}

void TBatchWorker::Finish() {
  if (!process_) return;
  process_->closeWriteChannel();
  if (!process_->waitForFinished(10000)) process_->kill();
  process_.reset();
  row_ = -1;
}

TBatchResult RunInWorker(TBatchWorker& worker, const AppEnvironment& env,
                         const TBatchRequest& request) {
  if (!worker.Alive() && !worker.Start(env))
    return FailedBatchResult(
        request.Row, QStringLiteral("Nem sikerült elindítani a feladatot futtató programot: %1")
                         .arg(QDir::toNativeSeparators(BatchWorkerProgram(env))));
  worker.Send(0, request);
  for (;;) {
    if (std::optional<TBatchResult> r = worker.Take(request.Row)) return std::move(*r);
    worker.Wait(50);
  }
}

}  // namespace krinu
