// load: the input tab's chain, pressed as a user would press it.

#include <QFileInfo>

#include "cli/cli.h"

namespace krinu::cli {
namespace {

// The structure overrides, applied after the automatic chain as a user would correct
// the structure panel.
struct StructureOverrides {
  std::optional<QString> Separator;
  std::optional<bool> Header;
};

void PrintSummary(const TMainForm& form, QTextStream& to) {
  const MainFormState& s = form.State;
  to << "Kód tábla: " << s.CodePageLb.Caption << '\n'
     << "Mező elválasztó: " << s.CsvSeparatorEd.Text << '\n'
     << "Fejrovat: " << (s.HeaderCbx.Checked ? "igen" : "nem") << '\n'
     << "Oszlopok száma: " << s.ColCountPrevEd.Text << '\n';
  to.flush();
}

int Load(CliContext& c) {
  CommandArgs args;
  if (!args.Parse(c.Args, {QStringLiteral("separator")},
                  {QStringLiteral("header"), QStringLiteral("no-header")}))
    return c.UsageError(args.Error());
  if (args.Positional().size() != 1)
    return c.UsageError(QStringLiteral("one INPUT file is needed"));
  StructureOverrides overrides;
  if (auto sep = args.Value(QStringLiteral("separator"))) {
    if (sep->size() != 1) return c.UsageError(QStringLiteral("--separator takes one character"));
    overrides.Separator = *sep;
  }
  if (args.Has(QStringLiteral("header")) && args.Has(QStringLiteral("no-header")))
    return c.UsageError(QStringLiteral("--header and --no-header exclude each other"));
  if (args.Has(QStringLiteral("header"))) overrides.Header = true;
  if (args.Has(QStringLiteral("no-header"))) overrides.Header = false;

  TMainForm& form = c.Form;
  c.Ui.OpenFileAnswer = QFileInfo(args.Positional().front()).absoluteFilePath();
  form.SelectFileBtnClick();
  // A refused file (no access, code page, empty, too large): nothing to correct.
  if (form.InputStage() == TMainForm::TInputStage::NoFile || form.InputFileRefused()) {
    PrintSummary(form, c.Out);
    return kFailed;
  }
  if (overrides.Separator || overrides.Header) {
    if (overrides.Separator) form.State.CsvSeparatorEd.Text = *overrides.Separator;
    if (overrides.Header) form.State.HeaderCbx.Checked = *overrides.Header;
    form.SzerkezetCheckBtnClick();
  }
  PrintSummary(form, c.Out);
  return form.InputStage() >= TMainForm::TInputStage::StructureChecked ? kOk : kFailed;
}

}  // namespace

void AddInputCommands(std::vector<CliCommand>& commands) {
  commands.push_back(
      {QStringLiteral("load"), QStringLiteral("INPUT [--separator C] [--header|--no-header]"),
       QStringLiteral("choose INPUT as the window does: code page, structure, preview"), Load});
}

}  // namespace krinu::cli
