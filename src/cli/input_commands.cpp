// load: the input tab's chain, pressed as a user would press it.

#include "cli/input_commands.h"

#include <QFileInfo>

#include "app/handler_runner.h"
#include "app/output_files.h"
#include "common/text_util.h"
#include "content/skipped_report.h"

namespace krinu::cli {

void DeclareInputOptions(QCommandLineParser& parser) {
  parser.addOptions({
      {QStringLiteral("separator"), QStringLiteral("mező elválasztó (egy karakter)"),
       QStringLiteral("KARAKTER")},
      {QStringLiteral("header"), QStringLiteral("az első sor fejrovat")},
      {QStringLiteral("no-header"), QStringLiteral("nincs fejrovat")},
      {QStringLiteral("columns"),
       QStringLiteral("az adószám, a név, a dátum, a bizonylatszám, a nettó és az ÁFA összeg "
                      "mezőjének sorszáma"),
       QStringLiteral("a,b,c,d,e,f")},
      {QStringLiteral("date-format"), QStringLiteral("dátum formátum, pl. yyyy.mm.dd"),
       QStringLiteral("FORMÁTUM")},
      {QStringLiteral("decimal"), QStringLiteral("tizedes jegy: comma (vessző) vagy point (pont)"),
       QStringLiteral("comma|point")},
      {QStringLiteral("skipped"), QStringLiteral("a kihagyott adatsorokat ebbe a fájlba írja"),
       QStringLiteral("FÁJL")},
      {QStringLiteral("skipped-report"),
       QStringLiteral("a kihagyott adatsorok jelentését (CSV) ebbe a fájlba írja"),
       QStringLiteral("FÁJL")},
      {QStringLiteral("profile"),
       QStringLiteral("a NÉV nevű mentett beállítás javításai az automatikus felismerés után "
                      "(ha nem ehhez a fájlformátumhoz készült: 1-es kilépési kód); auto: a "
                      "fájlformátumhoz illő mentett beállítás, ha van"),
       QStringLiteral("NÉV|auto")},
      {QStringLiteral("save-profile"),
       QStringLiteral("sikeres betöltés után a javítások (a felismeréstől eltérő beállítások) "
                      "mentése NÉV néven ehhez a fájlformátumhoz"),
       QStringLiteral("NÉV")},
  });
}

FromArgs<InputOptions> ReadInputOptions(const QCommandLineParser& args) {
  InputOptions o;
  o.Input = args.positionalArguments().value(0);
  if (auto sep = OptionValue(args, QStringLiteral("separator"))) {
    if (sep->size() != 1)
      return UsageError{QStringLiteral("a --separator értéke egyetlen karakter")};
    o.Separator = *sep;
  }
  const bool header = args.isSet(QStringLiteral("header"));
  const bool noHeader = args.isSet(QStringLiteral("no-header"));
  if (header && noHeader)
    return UsageError{QStringLiteral("a --header és a --no-header kizárja egymást")};
  if (header || noHeader) o.Header = header;
  if (auto cols = OptionValue(args, QStringLiteral("columns"))) {
    const QStringList parts = cols->split(QLatin1Char(','));
    std::array<int, 6> fields{};
    bool ok = parts.size() == 6;
    for (int i = 0; ok && i < 6; ++i) {
      fields[size_t(i)] = parts[i].trimmed().toInt(&ok);
      ok = ok && fields[size_t(i)] >= 1;
    }
    if (!ok)
      return UsageError{QStringLiteral(
          "a --columns értéke hat mezősorszám 1-től: adószám, név, dátum, bizonylatszám, nettó, "
          "ÁFA (pl. 1,2,3,4,5,6)")};
    o.Columns = fields;
  }
  if (auto f = OptionValue(args, QStringLiteral("date-format"))) {
    if (f->size() > 20)
      return UsageError{QStringLiteral("a --date-format értéke legfeljebb 20 karakter")};
    o.DateFormat = *f;
  }
  if (auto d = OptionValue(args, QStringLiteral("decimal"))) {
    if (*d == QStringLiteral("comma"))
      o.DecSep = 0;
    else if (*d == QStringLiteral("point"))
      o.DecSep = 1;
    else
      return UsageError{QStringLiteral("a --decimal értéke comma (vessző) vagy point (pont)")};
  }
  o.Skipped = OptionValue(args, QStringLiteral("skipped"));
  o.SkippedReport = OptionValue(args, QStringLiteral("skipped-report"));
  o.Profile = OptionValue(args, QStringLiteral("profile"));
  if (o.Profile && o.Profile->isEmpty())
    return UsageError{QStringLiteral("a --profile értéke egy mentett beállítás neve vagy auto")};
  o.SaveProfile = OptionValue(args, QStringLiteral("save-profile"));
  if (o.SaveProfile)
    if (const std::optional<QString> problem = ProfileNameProblem(*o.SaveProfile))
      return UsageError{QStringLiteral("--save-profile: ") + *problem};
  return o;
}

void PrintInputSummary(TMainForm& form, QTextStream& to) {
  MainFormState& s = form.State;
  to << "Kód tábla: " << s.CodePageLb.Caption << '\n'
     << "Mező elválasztó: " << s.CsvSeparatorEd.Text << '\n'
     << "Fejrovat: " << (s.HeaderCbx.Checked ? "igen" : "nem") << '\n'
     << "Oszlopok száma: " << s.ColCountPrevEd.Text << '\n';
  const std::vector<ComboControl*> combos = s.ColumnCombos();
  const CaptionControl* labels[6] = {&s.AdoszamColLb, &s.MegnevezesColLb, &s.DatumColLb,
                                     &s.BizSzamColLb, &s.AFAAlapColLb,    &s.AFAColLb};
  for (size_t i = 0; i < combos.size(); ++i)
    to << labels[i]->Caption << ": " << std::max(0, combos[i]->ItemIndex) << '\n';
  to << "Dátum formátum: " << s.DateFormEd.Text << '\n'
     << "Tizedes jegy: " << s.DecSepCbx.CurrentText() << '\n'
     << "Betöltött adatsorok: " << s.CsvLoadRowNumEd.Text << '\n'
     << "Kihagyott adatsorok: " << s.CsvMissedRowNumEd.Text << '\n';
  to.flush();
}

namespace {

// The content corrections need the panel a user would see unlocked, with columns to pick.
std::optional<QString> ApplyContentOptions(TMainForm& form, const InputOptions& o) {
  MainFormState& s = form.State;
  if (form.InputStage() < TMainForm::TInputStage::StructureChecked)
    return QStringLiteral(
        "krinu-cli: a szerkezet ellenőrzése nem sikerült, ezért az oszlopok, a dátum formátum "
        "és a tizedes jegy nem állítható be");
  if (o.Columns) {
    const std::vector<ComboControl*> combos = s.ColumnCombos();
    for (size_t i = 0; i < combos.size(); ++i) {
      const int field = (*o.Columns)[i];
      if (field >= combos[i]->Items.size())
        return QStringLiteral(
                   "krinu-cli: a --columns a(z) %1. mezőt adja meg, de a fájlban csak %2 mező van")
            .arg(field)
            .arg(combos[i]->Items.size() - 1);
      combos[i]->ItemIndex = field;
    }
  }
  if (o.DateFormat) s.DateFormEd.Text = *o.DateFormat;
  if (o.DecSep) s.DecSepCbx.ItemIndex = *o.DecSep;
  return std::nullopt;
}

// A failed write is said and fails the command; the previous file stays as it was.
bool Written(CliContext& c, const TStatus& written) {
  if (!written) c.Ui.Error(written.Message());
  return written.Ok();
}

}  // namespace

std::optional<QString> OutputCollision(const QString& input, const std::vector<QString>& outputs) {
  for (size_t i = 0; i < outputs.size(); ++i) {
    if (SameFile(outputs[i], input)) return OutputIsInputMessage(outputs[i]);
    for (size_t j = 0; j < i; ++j)
      if (SameFile(outputs[i], outputs[j])) return OutputsCollideMessage(outputs[j], outputs[i]);
  }
  return std::nullopt;
}

bool CheckOutputs(CliContext& c, const InputOptions& o, std::vector<QString> outputs) {
  if (o.Skipped) outputs.push_back(*o.Skipped);
  if (o.SkippedReport) outputs.push_back(*o.SkippedReport);
  const std::optional<QString> collision = OutputCollision(o.Input, outputs);
  if (collision) c.Ui.Error(*collision);
  return !collision;
}

namespace {

int PressInputChain(CliContext& c, TMainForm& form, const InputOptions& o) {
  RunHandler(c.Ui, [&] { form.OpenInputFile(QFileInfo(o.Input).absoluteFilePath()); });
  // A profile that does not fit the file: nothing is loaded with settings not meant for it.
  if (const QString& refusal = form.Job().Profile.Refusal; !refusal.isEmpty()) {
    c.Err << "krinu-cli: " << EscapeControlCharacters(refusal, true) << '\n';
    c.Err.flush();
    return kFailed;
  }
  // A refused file (no access, code page, empty, too large): nothing to correct.
  if (form.InputStage() == TMainForm::TInputStage::NoFile || form.InputFileRefused())
    return kFailed;
  if (o.Separator || o.Header) {
    if (o.Separator) form.State.CsvSeparatorEd.Text = *o.Separator;
    if (o.Header) form.State.HeaderCbx.Checked = *o.Header;
    RunHandler(c.Ui, [&] { form.SzerkezetCheckBtnClick(); });
  }
  if (o.Columns || o.DateFormat || o.DecSep) {
    if (const std::optional<QString> refused = ApplyContentOptions(form, o)) {
      c.Err << *refused << '\n';
      c.Err.flush();
      return kFailed;
    }
    RunHandler(c.Ui, [&] { form.ContentCheckBtnClick(); });
  }
  return form.InputStage() == TMainForm::TInputStage::Loaded ? kOk : kFailed;
}

// The skipped rows whatever the chain gave: a load that stopped part-way keeps the rows it
// handled before the error.
int RunInputChain(CliContext& c, TMainForm& form, const InputOptions& o) {
  const int status = PressInputChain(c, form, o);
  // A load that ran out of memory kept nothing: its rows would read as a file without any.
  if (form.Job().LoadRanOutOfMemory) return status;
  if (o.Skipped && !Written(c, WriteSkippedRows(*o.Skipped, form.Job().MissedRows))) return kFailed;
  if (status != kOk) return status;
  if (o.SkippedReport && !Written(c, WriteSkippedReport(*o.SkippedReport, form.Job().MissedRows,
                                                        form.Job().SkippedRecords)))
    return kFailed;
  return kOk;
}

// A profile asked for is applied as the window applies it; the corrections are saved once,
// after the whole chain, so that the automatic load before the corrections saves nothing.
void UseProfiles(TMainForm& form, const InputOptions& o) {
  if (o.Profile) {
    form.ProfileUse = *o.Profile == QStringLiteral("auto") ? TMainForm::TProfileUse::Auto
                                                           : TMainForm::TProfileUse::Named;
    form.ProfileName = *o.Profile;
  }
  form.TraceLayout = o.SaveProfile.has_value();
}

int SaveProfile(CliContext& c, TMainForm& form, const InputOptions& o, int status) {
  if (status == kOk && o.SaveProfile)
    if (const std::optional<QString> failed = form.SaveProfileAs(*o.SaveProfile)) {
      status = kFailed;
      // Said by the notes below when the form noted it.
      if (!form.Job().Profile.Notes.contains(*failed)) form.Job().Profile.Notes << *failed;
    }
  if (!o.Profile && !o.SaveProfile) return status;
  for (const QString& note : form.Job().Profile.Notes)
    c.Err << "krinu-cli: " << EscapeControlCharacters(note, true) << '\n';
  c.Err.flush();
  return status;
}

}  // namespace

int LoadInput(CliContext& c, TMainForm& form, const InputOptions& o, QTextStream& summary) {
  form.OneReturnPerJob = true;
  UseProfiles(form, o);
  RunHandler(c.Ui, [&] { form.FormCreate(); });
  const int status = SaveProfile(c, form, o, RunInputChain(c, form, o));
  c.Jobs.push_back(form.SharedJob());
  PrintInputSummary(form, summary);
  for (const TJobWarning& w : form.Job().LoadWarnings) c.Ui.PrintWarning(w);
  return status;
}

void AddInputCommands(std::vector<CliCommand>& commands) {
  commands.push_back(
      {.Name = QStringLiteral("load"),
       .Usage = QStringLiteral("CSV [kapcsolók]"),
       .Help = QStringLiteral("beolvassa a CSV fájlt, ahogy az ablak: kód tábla, szerkezet, "
                              "oszlopok, ellenőrzés, betöltés; összesítőt ír"),
       .TakesInput = true,
       .Declare = DeclareInputOptions,
       .Read = [](const QCommandLineParser& args) -> FromArgs<CommandRun> {
         FromArgs<InputOptions> options = ReadInputOptions(args);
         if (!options.Value) return UsageError{options.Error};
         return CommandRun([input = *options.Value](CliContext& c) {
           if (!CheckOutputs(c, input)) return kFailed;
           TMainForm form(c.Ui, c.Session);
           return LoadInput(c, form, input, c.Out);
         });
       }});
}

}  // namespace krinu::cli
