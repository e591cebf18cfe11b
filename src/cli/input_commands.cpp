// load: the input tab's chain, pressed as a user would press it.

#include "cli/input_commands.h"

#include <QFileInfo>

#include "app/handler_runner.h"
#include "content/skipped_report.h"

namespace krinu::cli {

QStringList InputValueOptions() {
  return {QStringLiteral("separator"), QStringLiteral("columns"), QStringLiteral("date-format"),
          QStringLiteral("decimal"),   QStringLiteral("skipped"), QStringLiteral("skipped-report")};
}

QStringList InputFlagOptions() {
  return {QStringLiteral("header"), QStringLiteral("no-header")};
}

std::optional<QString> ReadInputOptions(const CommandArgs& args, InputOptions& o) {
  if (auto sep = args.Value(QStringLiteral("separator"))) {
    if (sep->size() != 1) return QStringLiteral("--separator takes one character");
    o.Separator = *sep;
  }
  if (args.Has(QStringLiteral("header")) && args.Has(QStringLiteral("no-header")))
    return QStringLiteral("--header and --no-header exclude each other");
  if (args.Has(QStringLiteral("header"))) o.Header = true;
  if (args.Has(QStringLiteral("no-header"))) o.Header = false;
  if (auto cols = args.Value(QStringLiteral("columns"))) {
    const QStringList parts = cols->split(QLatin1Char(','));
    std::array<int, 6> fields{};
    bool ok = parts.size() == 6;
    for (int i = 0; ok && i < 6; ++i) {
      fields[size_t(i)] = parts[i].trimmed().toInt(&ok);
      ok = ok && fields[size_t(i)] >= 1;
    }
    if (!ok)
      return QStringLiteral(
          "--columns takes six field numbers from 1: tax number, name, date, invoice number, "
          "net, VAT (e.g. 1,2,3,4,5,6)");
    o.Columns = fields;
  }
  if (auto f = args.Value(QStringLiteral("date-format"))) {
    if (f->size() > 20) return QStringLiteral("--date-format takes at most 20 characters");
    o.DateFormat = *f;
  }
  if (auto d = args.Value(QStringLiteral("decimal"))) {
    if (*d == QStringLiteral("comma"))
      o.DecSep = 0;
    else if (*d == QStringLiteral("point"))
      o.DecSep = 1;
    else
      return QStringLiteral("--decimal takes comma or point");
  }
  o.Skipped = args.Value(QStringLiteral("skipped"));
  o.SkippedReport = args.Value(QStringLiteral("skipped-report"));
  return std::nullopt;
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
        "krinu-cli: the structure check did not pass, so the column choices, the date format "
        "and the decimal separator cannot be set");
  if (o.Columns) {
    const std::vector<ComboControl*> combos = s.ColumnCombos();
    for (size_t i = 0; i < combos.size(); ++i) {
      const int field = (*o.Columns)[i];
      if (field >= combos[i]->Items.size())
        return QStringLiteral("krinu-cli: --columns names field %1, but the file has %2 fields")
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
bool Written(CliContext& c, const std::optional<QString>& error) {
  if (!error) return true;
  c.Ui.Error(*error);
  return false;
}

}  // namespace

int RunInputChain(CliContext& c, TMainForm& form, const InputOptions& o) {
  RunHandler(c.Ui, [&] { form.OpenInputFile(QFileInfo(o.Input).absoluteFilePath()); });
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
  if (form.InputStage() != TMainForm::TInputStage::Loaded) return kFailed;
  if (o.Skipped && !Written(c, WriteSkippedRows(*o.Skipped, c.Session.MissedRows))) return kFailed;
  if (o.SkippedReport &&
      !Written(c, WriteSkippedReport(*o.SkippedReport, c.Session.SkippedRecords)))
    return kFailed;
  return kOk;
}

namespace {

int Load(CliContext& c) {
  CommandArgs args;
  if (!args.Parse(c.Args, InputValueOptions(), InputFlagOptions()))
    return c.UsageError(args.Error());
  if (args.Positional().size() != 1)
    return c.UsageError(QStringLiteral("one INPUT file is needed"));
  InputOptions options;
  options.Input = args.Positional().front();
  if (const std::optional<QString> error = ReadInputOptions(args, options))
    return c.UsageError(*error);
  TMainForm form(c.Ui, c.Session);
  RunHandler(c.Ui, [&] { form.FormCreate(); });
  const int status = RunInputChain(c, form, options);
  PrintInputSummary(form, c.Out);
  return status;
}

}  // namespace

void AddInputCommands(std::vector<CliCommand>& commands) {
  commands.push_back(
      {QStringLiteral("load"),
       QStringLiteral("INPUT [--separator C] [--header|--no-header] [--columns a,b,c,d,e,f] "
                      "[--date-format F] [--decimal comma|point] [--skipped FILE] "
                      "[--skipped-report FILE]"),
       QStringLiteral("take in INPUT as the window does: code page, structure, columns, check, "
                      "load; prints a summary"),
       Load});
}

}  // namespace krinu::cli
