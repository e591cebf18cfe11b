// convert: the input tab's chain, then the declaration run with the second tab's controls
// set as a user would set them.

#include <QDate>
#include <QFileInfo>
#include <QSaveFile>

#include "app/handler_runner.h"
#include "cli/input_commands.h"

namespace krinu::cli {
namespace {

struct ConvertOptions {
  QString Out;
  std::optional<QString> Taxpayer, Admin, FormVersion, Log;
  std::optional<QDate> From, To;
  bool NoCombine = false, DropZero = false, NoOverwrite = false;
};

std::optional<QDate> IsoDate(const QString& text) {
  const QDate d = QDate::fromString(text, Qt::ISODate);
  if (!d.isValid() || text.size() != 10) return std::nullopt;
  return d;
}

// UTF-8 without byte-order mark, "\n" after every line. A large run logs some hundred
// thousand lines: they go out through a small buffer rather than as one copy of them all.
std::optional<QString> WriteLog(const QString& file, const QStringList& lines) {
  QSaveFile out(file);
  bool written = out.open(QIODevice::WriteOnly);
  QByteArray chunk;
  chunk.reserve(1 << 20);
  for (qsizetype i = 0; written && i < lines.size(); ++i) {
    chunk += lines[i].toUtf8();
    chunk += '\n';
    if (chunk.size() >= (1 << 20) || i + 1 == lines.size()) {
      written = out.write(chunk) == chunk.size();
      chunk.resize(0);
    }
  }
  if (written && out.commit()) return std::nullopt;
  return QStringLiteral("Nem sikerült kiírni a fájlt: ") + file + QLatin1Char('\n') +
         out.errorString();
}

// Sets the second tab's controls; a message when a named record does not exist.
std::optional<QString> ApplyRunOptions(TMainForm& form, const ConvertOptions& o) {
  MainFormState& s = form.State;
  const TSession& session = form.Session();
  if (o.Taxpayer) {
    int found = -1;
    for (int i = 0; i < session.AdozokList.Count() && found < 0; ++i)
      if (session.AdozokList.Object(i)->Adoszam == *o.Taxpayer) found = i;
    if (found < 0) return QStringLiteral("krinu-cli: no taxpayer with tax number ") + *o.Taxpayer;
    s.AdozokCb.ItemIndex = found;
  }
  if (o.Admin) {
    bool numeric = false;
    const int id = o.Admin->toInt(&numeric);
    int found = -1;
    for (int i = 0; numeric && i < session.UgyintezokList.Count() && found < 0; ++i)
      if (session.UgyintezokList.Object(i)->UserId == id) found = i;
    if (found < 0) return QStringLiteral("krinu-cli: no administrator with ID ") + *o.Admin;
    s.UgyintezokCb.ItemIndex = found;
  }
  if (o.From) s.IdoszakADtPick.Date = *o.From;
  if (o.To) s.IdoszakBDtPick.Date = *o.To;
  if (o.FormVersion) s.NyomtVerEd.Text = *o.FormVersion;
  if (o.NoCombine) s.BizSumCbx.Checked = false;
  if (o.DropZero) s.DropZeroItemsCbx.Checked = true;
  if (o.NoOverwrite) s.OverWriteXmlFileCbx.Checked = false;
  s.XMLFileSelectEd.Text = o.Out;
  return std::nullopt;
}

int Convert(CliContext& c) {
  CommandArgs args;
  QStringList valued = InputValueOptions();
  valued << QStringLiteral("out") << QStringLiteral("taxpayer") << QStringLiteral("admin")
         << QStringLiteral("from") << QStringLiteral("to") << QStringLiteral("form-version")
         << QStringLiteral("log");
  QStringList flags = InputFlagOptions();
  flags << QStringLiteral("no-combine") << QStringLiteral("drop-zero")
        << QStringLiteral("no-overwrite");
  if (!args.Parse(c.Args, valued, flags)) return c.UsageError(args.Error());
  if (args.Positional().size() != 1)
    return c.UsageError(QStringLiteral("one INPUT file is needed"));
  InputOptions input;
  input.Input = args.Positional().front();
  if (const std::optional<QString> error = ReadInputOptions(args, input))
    return c.UsageError(*error);
  ConvertOptions o;
  const std::optional<QString> out = args.Value(QStringLiteral("out"));
  if (!out || out->isEmpty()) return c.UsageError(QStringLiteral("--out FILE is needed"));
  o.Out = *out;
  o.Taxpayer = args.Value(QStringLiteral("taxpayer"));
  o.Admin = args.Value(QStringLiteral("admin"));
  o.FormVersion = args.Value(QStringLiteral("form-version"));
  o.Log = args.Value(QStringLiteral("log"));
  for (const char* name : {"from", "to"}) {
    if (auto v = args.Value(QLatin1String(name))) {
      const std::optional<QDate> d = IsoDate(*v);
      if (!d) return c.UsageError(QStringLiteral("--%1 takes a date as YYYY-MM-DD").arg(name));
      (QLatin1String(name) == QLatin1String("from") ? o.From : o.To) = d;
    }
  }
  o.NoCombine = args.Has(QStringLiteral("no-combine"));
  o.DropZero = args.Has(QStringLiteral("drop-zero"));
  o.NoOverwrite = args.Has(QStringLiteral("no-overwrite"));

  // The run's log goes to standard output or the log file; the summary out of its way.
  QStringList runLog;
  c.Session.Log.Subscribe([&](LogSource source, const QString& line) {
    if (source != LogSource::Run) return;
    if (o.Log) {
      runLog << line;
    } else {
      c.Out << line << '\n';
    }
  });
  TMainForm form(c.Ui, c.Session);
  RunHandler(c.Ui, [&] { form.FormCreate(); });
  const int loaded = RunInputChain(c, form, input);
  PrintInputSummary(form, o.Log ? c.Out : c.Err);
  if (loaded != kOk) return kFailed;
  if (const std::optional<QString> refused = ApplyRunOptions(form, o)) {
    c.Err << *refused << '\n';
    c.Err.flush();
    return kFailed;
  }
  RunHandler(c.Ui, [&] { form.Step1BtnClick(); });
  c.Out.flush();
  if (o.Log) {
    if (const std::optional<QString> error = WriteLog(*o.Log, runLog)) {
      c.Ui.Error(*error);
      return kFailed;
    }
  }
  return c.Session.LastWrittenXml.isEmpty() ? kFailed : kOk;
}

}  // namespace

void AddConvertCommand(std::vector<CliCommand>& commands) {
  commands.push_back(
      {QStringLiteral("convert"),
       QStringLiteral("INPUT --out FILE [--taxpayer N] [--admin ID] [--from YYYY-MM-DD] "
                      "[--to YYYY-MM-DD] [--form-version V] [--no-combine] [--drop-zero] "
                      "[--no-overwrite] [--log FILE] [--skipped FILE] [--skipped-report FILE] "
                      "[load overrides]"),
       QStringLiteral("load INPUT, then make the xx65 return XML as the second tab does"),
       Convert});
}

}  // namespace krinu::cli
