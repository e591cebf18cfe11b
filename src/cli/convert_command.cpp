// convert: the input tab's chain, then the declaration run with the second tab's controls
// set as a user would set them.

#include <QDate>
#include <QFileInfo>

#include "app/handler_runner.h"
#include "app/summary_form.h"
#include "cli/input_commands.h"
#include "common/output_file.h"
#include "common/text_util.h"
#include "declaration/declaration_run.h"

namespace krinu::cli {
namespace {

struct ConvertOptions {
  QString Out;
  std::optional<QString> Taxpayer, Admin, FormVersion, Log, Summary;
  std::optional<QDate> From, To;
  bool NoCombine = false, DropZero = false, NoOverwrite = false, Strict = false;
};

std::optional<QDate> IsoDate(const QString& text) {
  const QDate d = QDate::fromString(text, Qt::ISODate);
  if (!d.isValid() || text.size() != 10) return std::nullopt;
  return d;
}

// The run's log file: UTF-8 without byte-order mark, "\n" after every line. A large run logs
// some hundred thousand lines: they go out through a small buffer as they come, rather than
// as one copy of them all; the file is put in place by Finish() only, whatever came.
class TLogFile {
 public:
  explicit TLogFile(const QString& name) : name_(name), out_(name) {}
  void Line(const QString& line) {
    if (!Opened()) return;
    AppendUtf8WithReplacement(chunk_, line);
    chunk_ += '\n';
    if (chunk_.size() >= kChunk) Flush();
  }
  // The message when the file could not be written; it is left as it was then.
  std::optional<QString> Finish() {
    if (Opened()) Flush();
    if (!failed_) failed_ = out_.Commit();
    if (!failed_) return std::nullopt;
    out_.Cancel();
    return QStringLiteral("Nem sikerült kiírni a fájlt: ") + name_ + QLatin1Char('\n') + *failed_;
  }

 private:
  static constexpr qsizetype kChunk = qsizetype(1) << 20;
  // Unbuffered, so that a full disk fails the write that hits it rather than vanishing in
  // the commit, which would put a cut-off log in place.
  bool Opened() {
    if (!opened_) {
      opened_ = true;
      failed_ = out_.Open();
      chunk_.reserve(kChunk + 4096);
    }
    return !failed_;
  }
  void Flush() {
    if (!failed_ && !chunk_.isEmpty() && !out_.Write(chunk_)) failed_ = out_.Reason();
    chunk_.resize(0);
  }
  QString name_;
  TOutputFile out_;
  bool opened_ = false;
  std::optional<QString> failed_;
  QByteArray chunk_;
};

// Sets the second tab's controls; a message when a named record does not exist.
std::optional<QString> ApplyRunOptions(TMainForm& form, const ConvertOptions& o) {
  MainFormState& s = form.State;
  const TSession& session = form.Session();
  if (o.Taxpayer) {
    int found = -1;
    for (int i = 0; i < session.AdozokList.Count() && found < 0; ++i)
      if (session.AdozokList.Object(i)->Adoszam == *o.Taxpayer) found = i;
    if (found < 0) return QStringLiteral("krinu-cli: nincs ilyen adószámú adózó: ") + *o.Taxpayer;
    s.AdozokCb.ItemIndex = found;
  }
  if (o.Admin) {
    bool numeric = false;
    const int id = o.Admin->toInt(&numeric);
    int found = -1;
    for (int i = 0; numeric && i < session.UgyintezokList.Count() && found < 0; ++i)
      if (session.UgyintezokList.Object(i)->UserId == id) found = i;
    if (found < 0)
      return QStringLiteral("krinu-cli: nincs ilyen azonosítójú ügyintéző: ") + *o.Admin;
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

void DeclareConvertOptions(QCommandLineParser& parser) {
  parser.addOptions({
      {QStringLiteral("out"), QStringLiteral("a bevallás XML fájlja (kötelező)"),
       QStringLiteral("FÁJL")},
      {QStringLiteral("taxpayer"), QStringLiteral("az ilyen adószámú adózó (alapból az első)"),
       QStringLiteral("ADÓSZÁM")},
      {QStringLiteral("admin"), QStringLiteral("az ilyen azonosítójú ügyintéző (alapból az első)"),
       QStringLiteral("AZONOSÍTÓ")},
      {QStringLiteral("from"), QStringLiteral("az időszak első napja (alapból az előző hónapé)"),
       QStringLiteral("ÉÉÉÉ-HH-NN")},
      {QStringLiteral("to"), QStringLiteral("az időszak utolsó napja (alapból az előző hónapé)"),
       QStringLiteral("ÉÉÉÉ-HH-NN")},
      {QStringLiteral("form-version"), QStringLiteral("a nyomtatvány verziója (alapból 1.0)"),
       QStringLiteral("VERZIÓ")},
      {QStringLiteral("no-combine"), QStringLiteral("nem összesíti egy bizonylat tételeit")},
      {QStringLiteral("drop-zero"), QStringLiteral("kihagyja a '0'-s tételeket")},
      {QStringLiteral("no-overwrite"), QStringLiteral("nem írja felül a már létező XML fájlt")},
      {QStringLiteral("log"),
       QStringLiteral("a futás naplóját ebbe a fájlba írja, nem a szabványos kimenetre"),
       QStringLiteral("FÁJL")},
      {QStringLiteral("summary"),
       QStringLiteral("a bevallás összesítőjét ebbe a fájlba írja; a formátumot a vége adja: "
                      ".pdf, .html vagy .csv"),
       QStringLiteral("FÁJL")},
      {QStringLiteral("strict"),
       QStringLiteral("ha a bevallás hibás lenne (egyetlen tétel sem esik a kijelölt "
                      "időszakba, vagy van nem forintban szereplő sor), nem ír XML fájlt, és "
                      "3-as kilépési kóddal ér véget")},
  });
  DeclareInputOptions(parser);
}

FromArgs<ConvertOptions> ReadConvertOptions(const QCommandLineParser& args) {
  ConvertOptions o;
  const std::optional<QString> out = OptionValue(args, QStringLiteral("out"));
  if (!out || out->isEmpty())
    return UsageError{QStringLiteral("meg kell adni a bevallás XML fájlját: --out FÁJL")};
  o.Out = *out;
  o.Taxpayer = OptionValue(args, QStringLiteral("taxpayer"));
  o.Admin = OptionValue(args, QStringLiteral("admin"));
  o.FormVersion = OptionValue(args, QStringLiteral("form-version"));
  o.Log = OptionValue(args, QStringLiteral("log"));
  o.Summary = OptionValue(args, QStringLiteral("summary"));
  if (o.Summary && !SummaryFormatOf(*o.Summary))
    return UsageError{QStringLiteral("a --summary fájl neve .pdf, .html vagy .csv végű legyen")};
  for (auto [name, date] :
       {std::pair{QStringLiteral("from"), &o.From}, {QStringLiteral("to"), &o.To}}) {
    if (const std::optional<QString> v = OptionValue(args, name)) {
      *date = IsoDate(*v);
      if (!*date)
        return UsageError{QStringLiteral("a --%1 értéke dátum, ÉÉÉÉ-HH-NN alakban").arg(name)};
    }
  }
  o.NoCombine = args.isSet(QStringLiteral("no-combine"));
  o.DropZero = args.isSet(QStringLiteral("drop-zero"));
  o.NoOverwrite = args.isSet(QStringLiteral("no-overwrite"));
  o.Strict = args.isSet(QStringLiteral("strict"));
  return o;
}

int Convert(CliContext& c, const InputOptions& input, const ConvertOptions& o) {
  std::vector<QString> outputs{XmlFileNameFor(o.Out)};
  if (o.Log) outputs.push_back(*o.Log);
  if (o.Summary) outputs.push_back(*o.Summary);
  if (!CheckOutputs(c, input, std::move(outputs))) return kFailed;
  // The run's log goes to standard output or the log file; the summary out of its way.
  std::optional<TLogFile> logFile;
  if (o.Log) logFile.emplace(*o.Log);
  const LogSubscription runLines =
      c.Session.Log.Subscribe([&](LogSource source, const QString& line) {
        if (source != LogSource::Run) return;
        if (logFile) {
          logFile->Line(line);
        } else {
          c.Out << line << '\n';
        }
      });
  TMainForm form(c.Ui, c.Session);
  form.DropLogMemo();
  const int loaded = LoadInput(c, form, input, o.Log ? c.Out : c.Err);
  int status = kFailed;
  if (loaded == kOk) {
    if (const std::optional<QString> refused = ApplyRunOptions(form, o)) {
      c.Err << *refused << '\n';
      c.Err.flush();
    } else {
      c.Ui.Strict = o.Strict;
      RunHandler(c.Ui, [&] { form.Step1BtnClick(); });
      if (!form.Job().Run.LastWrittenXml.isEmpty()) status = kOk;
      if (c.Ui.RefusedByWarning) status = kRefusedByWarning;
    }
  }
  c.Out.flush();
  // The log file whatever the outcome, as the skipped rows.
  if (logFile) {
    if (const std::optional<QString> error = logFile->Finish()) {
      c.Ui.Error(*error);
      return kFailed;
    }
  }
  // The summary of a return that was written.
  if (status == kOk && o.Summary) {
    if (const TStatus written = WriteSummary(c.Ui, SummaryOf(form.Job()), *o.Summary); !written) {
      c.Ui.Error(written.Message());
      return kFailed;
    }
  }
  return status;
}

}  // namespace

void AddConvertCommand(std::vector<CliCommand>& commands) {
  commands.push_back(
      {.Name = QStringLiteral("convert"),
       .Usage = QStringLiteral("CSV --out FÁJL [kapcsolók]"),
       .Help = QStringLiteral("beolvassa a CSV fájlt, majd elkészíti az xx65 bevallás XML "
                              "fájlját, ahogy a második fül"),
       .TakesInput = true,
       .Declare = DeclareConvertOptions,
       .Read = [](const QCommandLineParser& args) -> FromArgs<CommandRun> {
         FromArgs<InputOptions> input = ReadInputOptions(args);
         if (!input.Value) return UsageError{input.Error};
         FromArgs<ConvertOptions> options = ReadConvertOptions(args);
         if (!options.Value) return UsageError{options.Error};
         return CommandRun([input = *input.Value, options = *options.Value](CliContext& c) {
           return Convert(c, input, options);
         });
       }});
}

}  // namespace krinu::cli
