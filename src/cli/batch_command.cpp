// batch: one `convert` per row of a manifest, one after another or in worker processes of
// krinu-cli itself, and a table of what became of each.

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <cstdio>
#include <memory>

#include "app/batch_worker.h"
#include "app/output_files.h"
#include "cli/batch.h"
#include "cli/cli.h"
#include "common/atomic_write.h"
#include "common/text_util.h"

namespace krinu::cli {

namespace {

const QString kWarningPrefix = QStringLiteral("krinu-cli: figyelmeztetés: ");

const CliCommand& ConvertCommand() {
  static const CliCommand convert = [] {
    std::vector<CliCommand> commands;
    AddConvertCommand(commands);
    return commands.front();
  }();
  return convert;
}

// Why the job failed, from what it said: its error boxes and the program's own lines,
// without the kind in front; warnings, notes and questions have columns or lines of their own.
QString ErrorText(const QString& said) {
  static const QStringList kinds{QStringLiteral("error: "), QStringLiteral("warning: "),
                                 QStringLiteral("information: "), QStringLiteral("confirmation: "),
                                 QStringLiteral("krinu-cli: ")};
  QStringList lines;
  bool keep = false;  // the box the line belongs to is kept
  for (const QString& line : said.split(u'\n', Qt::SkipEmptyParts)) {
    const auto kind = std::find_if(kinds.begin(), kinds.end(),
                                   [&](const QString& k) { return line.startsWith(k); });
    if (kind == kinds.end()) {
      if (keep) lines << line;
      continue;
    }
    keep = (*kind == kinds[0] || *kind == kinds[4]) && !line.startsWith(kWarningPrefix);
    if (keep) lines << line.mid(kind->size());
  }
  return lines.join(u'\n');
}

}  // namespace

TResult<QStringList> ConvertArguments(const TBatchRow& row, bool strict, const QString& log) {
  QStringList missing;
  for (int c = 0; c < kManifestColumns; ++c)
    if (ManifestColumnRequired(TManifestColumn(c)) && row.Cells[size_t(c)].isEmpty())
      missing << QLatin1Char('"') + ManifestColumnName(TManifestColumn(c)) + QLatin1Char('"');
  if (!missing.isEmpty())
    return Fail(TFailureKind::Input,
                QStringLiteral("A sorból hiányzik: %1.").arg(missing.join(QStringLiteral(", "))));
  for (TManifestColumn column : {mcKezdete, mcVege}) {
    const QDate date = QDate::fromString(row[column], Qt::ISODate);
    if (!date.isValid() || row[column].size() != 10)
      return Fail(TFailureKind::Input,
                  QStringLiteral("A(z) \"%1\" oszlop értéke dátum, ÉÉÉÉ-HH-NN alakban, nem \"%2\".")
                      .arg(ManifestColumnName(column), row[column]));
  }
  const TBatchOutputs outputs = BatchOutputsOf(row);
  QStringList args{
      QStringLiteral("--out"),   row[mcKimenet],   QStringLiteral("--taxpayer"), row[mcAdoszam],
      QStringLiteral("--admin"), row[mcUgyintezo], QStringLiteral("--from"),     row[mcKezdete],
      QStringLiteral("--to"),    row[mcVege],      QStringLiteral("--log"),      log};
  if (!outputs.Summary.isEmpty()) args << QStringLiteral("--summary") << outputs.Summary;
  // A profile's name or "auto", as --profile takes it.
  if (!row[mcProfil].isEmpty()) args << QStringLiteral("--profile") << row[mcProfil];
  for (const auto& [column, defaultOption, otherOption] :
       {std::tuple{mcOsszevonas, QString(), QStringLiteral("--no-combine")},
        std::tuple{mcNullasKihagyas, QStringLiteral("--drop-zero"), QString()}}) {
    const TYesNo value = ReadYesNo(row[column]);
    if (value == TYesNo::Invalid)
      return Fail(TFailureKind::Input,
                  QStringLiteral("A(z) \"%1\" oszlop értéke igen, nem vagy üres, nem \"%2\".")
                      .arg(ManifestColumnName(column), row[column]));
    const QString& option = value == TYesNo::Yes ? defaultOption : otherOption;
    if (value != TYesNo::Default && !option.isEmpty()) args << option;
  }
  if (strict) args << QStringLiteral("--strict");
  // The input after "--": a name that begins with "-" is still a file.
  args << QStringLiteral("--") << row[mcBemenet];
  return args;
}

TBatchResult RunBatchRow(TSession& session, const TBatchRow& row, bool strict) {
  TBatchResult r = FailedBatchResult(row, {});
  r.Nev = TaxpayerName(session, r.Adoszam);
  // The log goes beside its place first: a failed job leaves the log it had before.
  const TBatchOutputs outputs = BatchOutputsOf(row);
  const QString log =
      outputs.Log + QStringLiteral(".%1.tmp").arg(QCoreApplication::applicationPid());
  const TResult<QStringList> args = ConvertArguments(row, strict, log);
  if (!args) {
    r.Error = args.Message();
    return r;
  }
  const FromArgs<CommandRun> run = ReadCommandArgs(ConvertCommand(), args.Value());
  if (!run.Value) {
    r.Error = run.Error;
    return r;
  }
  QString said, discarded;  // the input summary is the table's to give
  QTextStream err(&said), out(&discarded);
  CliUserInterface ui(err);
  int status = kFailed;
  {
    CliContext c{session, ui, out, err};
    status = (*run.Value)(c);
    if (!c.Jobs.empty()) CountJob(*c.Jobs.back(), r);
  }  // the job's lines go here, before the next job loads
  if (status == kOk) {
    QFile written(log);
    const std::optional<QString> failed = written.open(QIODevice::ReadOnly)
                                              ? WriteFileAtomically(outputs.Log, written.readAll())
                                              : std::optional<QString>(written.errorString());
    if (failed) {
      ui.Error(QStringLiteral("Nem sikerült kiírni a fájlt: ") +
               QDir::toNativeSeparators(outputs.Log) + u'\n' + *failed);
      status = kFailed;
    } else {
      r.Log = outputs.Log;
    }
  }
  QFile::remove(log);
  err.flush();
  // What the job said names the log by its own name, whatever the process.
  for (const QString& name : {QDir::toNativeSeparators(log), log})
    said.replace(name, QDir::toNativeSeparators(outputs.Log));
  r.Ok = status == kOk;
  r.Messages = said;
  if (r.Ok && !outputs.Summary.isEmpty()) r.Summary = outputs.Summary;
  if (!r.Ok) {
    r.Error = ErrorText(said);
    if (status == kRefusedByWarning)
      r.Error = QStringLiteral("Nem készült bevallás, mert hibás lenne: ") +
                ui.PrintedWarnings.join(u' ');
    if (r.Error.isEmpty()) r.Error = QStringLiteral("Nem készült bevallás.");
  }
  return r;
}

namespace {

struct BatchOptions {
  QString Manifest;
  std::optional<QString> Table;
  int Jobs = 1;
  bool Strict = false;
  bool Template = false;
  bool Worker = false;
};

// A worker of a parallel batch, or of the window's: one row a line on standard input, one
// result a line on standard output, until standard input ends.
int Work(CliContext& c) {
  QFile in;
  QFile out;
  if (!in.open(stdin, QIODevice::ReadOnly) || !out.open(stdout, QIODevice::WriteOnly))
    return kFailed;
  for (;;) {
    const QByteArray line = in.readLine();
    if (line.isEmpty()) return kOk;
    const std::optional<TBatchRequest> request = BatchRequestOf(line);
    const TBatchResult r =
        request ? RunBatchRow(c.Session, request->Row, request->Strict)
                : FailedBatchResult({}, QStringLiteral("Érthetetlen feladat érkezett."));
    out.write(BatchResultLine(r));
    out.flush();
  }
}

// Runs the rows that are to run in up to `jobs` workers; each result goes to onResult as it
// comes. False when no worker could be started (nothing has run then).
bool RunInWorkers(CliContext& c, const std::vector<TBatchRow>& rows,
                  const std::vector<qsizetype>& toRun, const BatchOptions& o,
                  const std::function<void(qsizetype, TBatchResult)>& onResult) {
  std::vector<TBatchWorker> workers;
  // No more at once than the machine has cores for: more would only take turns.
  const qsizetype count = std::min<qsizetype>(
      {o.Jobs, qsizetype(toRun.size()), std::max(1, QThread::idealThreadCount())});
  for (qsizetype i = 0; i < count; ++i) {
    TBatchWorker w;
    if (w.Start(c.Session.Env)) workers.push_back(std::move(w));
  }
  if (workers.empty()) return false;
  size_t next = 0, done = 0, turn = 0;
  while (done < toRun.size()) {
    bool heard = false;
    for (TBatchWorker& w : workers) {
      if (!w.Alive()) continue;
      if (!w.Busy() && next < toRun.size()) {
        const qsizetype row = toRun[next++];
        w.Send(row, {rows[size_t(row)], o.Strict});
      }
      if (!w.Busy()) continue;
      const qsizetype row = w.Row();
      if (std::optional<TBatchResult> r = w.Take(rows[size_t(row)])) {
        onResult(row, std::move(*r));
        ++done;
        heard = true;
      }
    }
    const bool anyAlive = std::any_of(workers.begin(), workers.end(),
                                      [](const TBatchWorker& w) { return w.Alive(); });
    if (!anyAlive) {
      // Every worker has gone: the rest run here.
      while (next < toRun.size()) {
        const qsizetype row = toRun[next++];
        onResult(row, RunBatchRow(c.Session, rows[size_t(row)], o.Strict));
        ++done;
      }
    } else if (!heard) {
      // A short wait on each busy worker in turn, so that none waits on another.
      for (size_t i = 0; i < workers.size(); ++i) {
        TBatchWorker& w = workers[(turn + i) % workers.size()];
        if (w.Busy()) {
          w.Wait(10);
          break;
        }
      }
      ++turn;
    }
  }
  return true;
}

int Batch(CliContext& c, const BatchOptions& o) {
  if (o.Worker) return Work(c);
  const TResult<std::vector<TBatchRow>> manifest = ReadManifest(o.Manifest);
  if (!manifest) {
    c.Ui.Error(manifest.Message());
    return kFailed;
  }
  const std::vector<TBatchRow>& rows = manifest.Value();
  if (rows.empty()) {
    c.Ui.Error(QStringLiteral("A köteg leírásában nincs egyetlen feladat sem."));
    return kFailed;
  }
  // The table must not take the place of a job's input or of the manifest; a job that would
  // write into either fails.
  if (o.Table && (SameFileName(o.Manifest, *o.Table) ||
                  std::any_of(rows.begin(), rows.end(), [&](const TBatchRow& row) {
                    return SameFileName(row[mcBemenet], *o.Table);
                  }))) {
    c.Ui.Error(OutputIsInputMessage(*o.Table));
    return kFailed;
  }

  const qsizetype total = qsizetype(rows.size());
  std::vector<std::optional<TBatchResult>> results(rows.size());
  qsizetype printed = 0;
  // Progress in manifest order, each job's line with what it said below it, whole.
  const auto onResult = [&](qsizetype index, TBatchResult r) {
    if (r.Nev.isEmpty()) r.Nev = TaxpayerName(c.Session, r.Adoszam);  // a row that never ran
    results[size_t(index)] = std::move(r);
    while (printed < total && results[size_t(printed)]) {
      const TBatchResult& done = *results[size_t(printed)];
      ++printed;
      c.Err << EscapeControlCharacters(BatchProgressLine(printed, total, done), false) << '\n';
      if (!done.Messages.isEmpty()) c.Err << done.Messages;
      c.Err.flush();
    }
  };
  const std::vector<std::optional<QString>> clashes =
      OutputClashes(rows, o.Table.value_or(QString()), o.Manifest);
  std::vector<qsizetype> toRun;
  for (size_t i = 0; i < rows.size(); ++i)
    if (!clashes[i]) toRun.push_back(qsizetype(i));
  const auto refuseClashes = [&] {
    for (size_t i = 0; i < rows.size(); ++i)
      if (clashes[i]) onResult(qsizetype(i), FailedBatchResult(rows[i], *clashes[i]));
  };
  // A run with a profile remembers its taxpayer in the profiles file: jobs at once would
  // each write their own copy of it over the others'.
  const bool profiles = std::any_of(rows.begin(), rows.end(),
                                    [](const TBatchRow& row) { return !row[mcProfil].isEmpty(); });
  if (o.Jobs > 1 && profiles) {
    c.Err << "krinu-cli: a köteg mentett beállítást (Profil) használ, ezért a feladatok "
             "egymás után futnak\n";
    c.Err.flush();
  }
  if (o.Jobs > 1 && !profiles && toRun.size() > 1 && QThread::idealThreadCount() > 1 &&
      RunInWorkers(c, rows, toRun, o,
                   [&](qsizetype i, TBatchResult r) { onResult(i, std::move(r)); })) {
    refuseClashes();
  } else {
    RunBatchRows(
        rows, clashes, [&](const TBatchRow& row) { return RunBatchRow(c.Session, row, o.Strict); },
        [&](qsizetype i, const TBatchResult& r) {
          onResult(i, r);
          return true;
        });
  }

  std::vector<TBatchResult> all;
  all.reserve(rows.size());
  qsizetype failed = 0;
  for (const auto& r : results) {
    all.push_back(*r);
    if (!r->Ok) ++failed;
  }
  c.Err << QStringLiteral("krinu-cli: %1 feladatból %2 kész, %3 hibás\n")
               .arg(total)
               .arg(total - failed)
               .arg(failed);
  c.Err.flush();
  if (o.Table) {
    if (const TStatus written = WriteBatchTable(*o.Table, all); !written) {
      c.Ui.Error(written.Message());
      return kFailed;
    }
  }
  return failed ? kSomeJobsFailed : kOk;
}

FromArgs<BatchOptions> ReadBatchOptions(const QCommandLineParser& args) {
  BatchOptions o;
  o.Template = args.isSet(QStringLiteral("template"));
  o.Worker = args.isSet(QStringLiteral("worker"));
  o.Strict = args.isSet(QStringLiteral("strict"));
  o.Table = OptionValue(args, QStringLiteral("summary-table"));
  const QStringList positionals = args.positionalArguments();
  if (o.Template || o.Worker) {
    if (!positionals.isEmpty())
      return UsageError{QStringLiteral("fölösleges argumentum: ") +
                        positionals.join(QLatin1Char(' '))};
    return o;
  }
  if (positionals.size() != 1)
    return UsageError{QStringLiteral("pontosan egy kötegleírást (CSV) kell megadni")};
  o.Manifest = positionals.front();
  if (o.Table && !BatchTableFormatKnown(*o.Table))
    return UsageError{QStringLiteral("a --summary-table fájl neve .csv vagy .html végű legyen")};
  if (const std::optional<QString> jobs = OptionValue(args, QStringLiteral("jobs"))) {
    bool ok = false;
    o.Jobs = jobs->toInt(&ok);
    if (!ok || o.Jobs < 1 || o.Jobs > 64)
      return UsageError{QStringLiteral("a --jobs értéke 1 és 64 közötti egész szám")};
  }
  return o;
}

}  // namespace

void AddBatchCommand(std::vector<CliCommand>& commands) {
  commands.push_back(
      {.Name = QStringLiteral("batch"),
       .Usage = QStringLiteral(
           "LEÍRÁS [--summary-table FÁJL.csv|.html] [--jobs N] [--strict] | --template"),
       .Help = QStringLiteral("a kötegleírás minden sorára elkészíti a bevallást, mint a convert"),
       .OwnPositional =
           std::pair{QStringLiteral("LEÍRÁS"),
                     QStringLiteral("a köteg leírása: pontosvesszővel tagolt UTF-8 CSV, "
                                    "soronként egy feladat (minta: --template). Kilépési kód: "
                                    "0 ha minden feladat kész, 4 ha valamelyik hibás, 1 ha a "
                                    "leírás vagy a táblázat nem használható")},
       .Declare =
           [](QCommandLineParser& parser) {
             parser.addOptions({
                 {QStringLiteral("summary-table"),
                  QStringLiteral("a feladatok táblázata, soronként egy: CSV vagy HTML (a fájl "
                                 "vége szerint)"),
                  QStringLiteral("FÁJL")},
                 {QStringLiteral("jobs"),
                  QStringLiteral("legfeljebb ennyi feladat fut egyszerre, külön folyamatokban "
                                 "(alapból 1)"),
                  QStringLiteral("N")},
                 {QStringLiteral("strict"),
                  QStringLiteral("mint a convert --strict: a hibás bevallás nem készül el, a "
                                 "feladat hibás")},
                 {QStringLiteral("template"),
                  QStringLiteral("üres kötegleírást ír a szabványos kimenetre: a fejrovatot "
                                 "és egy megjegyzésbe tett példasort")},
             });
             QCommandLineOption worker(QStringLiteral("worker"));
             worker.setFlags(QCommandLineOption::HiddenFromHelp);
             parser.addOption(worker);
           },
       .Read = [](const QCommandLineParser& args) -> FromArgs<CommandRun> {
         FromArgs<BatchOptions> options = ReadBatchOptions(args);
         if (!options.Value) return UsageError{options.Error};
         return CommandRun([o = *options.Value](CliContext& c) {
           if (o.Template) {
             c.Out << QString::fromUtf8(ManifestTemplate());
             return kOk;
           }
           return Batch(c, o);
         });
       }});
}

}  // namespace krinu::cli
