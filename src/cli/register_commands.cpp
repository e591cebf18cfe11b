// taxpayer add|update|delete and admin add|update|delete: fill the register window's edits
// as a user would and press its buttons; the window's message boxes go to standard error.

#include "cli/register_commands.h"

#include <limits>
#include <optional>

#include "app/adozok_torzs_form.h"
#include "app/handler_runner.h"
#include "app/ugyintezok_torzs_form.h"

namespace krinu::cli {

namespace {

enum class Button { Add, Update, Delete };

template <class Form>
void PressButton(Form& form, Button button) {
  switch (button) {
    case Button::Add:
      form.UjBTnClick();
      break;
    case Button::Update:
      form.ModositBtnClick();
      break;
    case Button::Delete:
      form.TorlesBtnClick();
      break;
  }
}

// Opens the register window, lets fill do what the user would do in it before pressing
// the button (fill returns false to press nothing) and presses it, through the handler
// runner as the window does. The status says whether the register was changed.
template <class Form, class Fill>
int Press(CliContext& c, Form& form, Button button, Fill fill) {
  const bool ran = RunHandler(c.Ui, [&] {
    form.FormCreate();
    form.FormShow();
    if (fill()) PressButton(form, button);
  });
  return ran && form.Changed ? kOk : kFailed;
}

// Parses the options of one button; only delete takes --yes, the answer to its question.
// Returns the usage status when the arguments are wrong.
std::optional<int> ParseButtonArgs(CliContext& c, Button button, const QStringList& valued,
                                   CommandArgs& args) {
  const QStringList flags =
      button == Button::Delete ? QStringList{QStringLiteral("yes")} : QStringList{};
  if (!args.Parse(c.Args, valued, flags)) return c.UsageError(args.Error());
  if (!args.Positional().isEmpty()) return c.UsageError(QStringLiteral("unexpected arguments"));
  c.Ui.AnswerYes = args.Has(QStringLiteral("yes"));
  return std::nullopt;
}

int Taxpayer(CliContext& c, Button button) {
  CommandArgs args;
  const QStringList valued = button == Button::Delete
                                 ? QStringList{QStringLiteral("tax-number")}
                                 : QStringList{QStringLiteral("tax-number"), QStringLiteral("name"),
                                               QStringLiteral("bank"), QStringLiteral("account")};
  if (const auto usage = ParseButtonArgs(c, button, valued, args)) return *usage;
  const auto taxNumber = args.Value(QStringLiteral("tax-number"));
  if (!taxNumber) return c.UsageError(QStringLiteral("--tax-number is required"));

  TAdozokTorzsForm form(c.Session, c.Ui);
  return Press(c, form, button, [&] {
    auto& s = form.State;
    if (button == Button::Update) {
      // As a user would: load the taxpayer from the list first, then correct the edits.
      for (int i = 0; i < form.RegisterList.Count(); ++i) {
        if (form.RegisterList.Object(i)->Adoszam == *taxNumber) {
          s.AdozokLbx.ItemIndex = i;
          form.AdozokLbxDblClick();
          break;
        }
      }
    }
    s.AdoszamEd.Text = *taxNumber;
    if (const auto v = args.Value(QStringLiteral("name"))) s.NevEd.Text = *v;
    if (const auto v = args.Value(QStringLiteral("bank"))) s.BankEd.Text = *v;
    if (const auto v = args.Value(QStringLiteral("account"))) s.SzamlaEd.Text = *v;
    return true;
  });
}

int Admin(CliContext& c, Button button) {
  CommandArgs args;
  QStringList valued;
  if (button != Button::Add) valued << QStringLiteral("id");
  if (button != Button::Delete) valued << QStringLiteral("name") << QStringLiteral("phone");
  if (const auto usage = ParseButtonArgs(c, button, valued, args)) return *usage;
  qint64 id = 0;
  if (button != Button::Add) {
    const auto idText = args.Value(QStringLiteral("id"));
    if (!idText) return c.UsageError(QStringLiteral("--id is required"));
    bool ok = false;
    id = idText->toLongLong(&ok);
    if (!ok || id <= 0 || id > std::numeric_limits<qint32>::max())
      return c.UsageError(QStringLiteral("--id takes a positive whole number"));
  }

  TUgyintezokTorzsForm form(c.Session, c.Ui);
  bool found = button == Button::Add;
  const int status = Press(c, form, button, [&] {
    auto& s = form.State;
    if (button != Button::Add) {
      // The window addresses an administrator only by loading it from the list.
      for (int i = 0; i < form.RegisterList.Count() && !found; ++i) {
        if (form.RegisterList.Object(i)->UserId == id) {
          s.UgyintezokLbx.ItemIndex = i;
          form.UgyintezokLbxDblClick();
          found = true;
        }
      }
      if (!found) return false;
    }
    if (const auto v = args.Value(QStringLiteral("name"))) s.NevEd.Text = *v;
    if (const auto v = args.Value(QStringLiteral("phone"))) s.TelefonEd.Text = *v;
    return true;
  });
  if (!found) {
    c.Err << "krinu-cli: no administrator with ID " << id << "\n";
    return kFailed;
  }
  return status;
}

}  // namespace

void AddRegisterCommands(std::vector<CliCommand>& commands) {
  const QString fields = QStringLiteral("--tax-number N --name T --bank T --account DIGITS");
  commands.push_back({QStringLiteral("taxpayer add"), fields,
                      QStringLiteral("adds a taxpayer (the register's new-taxpayer button)"),
                      [](CliContext& c) { return Taxpayer(c, Button::Add); }});
  commands.push_back({QStringLiteral("taxpayer update"), fields,
                      QStringLiteral("changes the taxpayer with that tax number"),
                      [](CliContext& c) { return Taxpayer(c, Button::Update); }});
  commands.push_back({QStringLiteral("taxpayer delete"), QStringLiteral("--tax-number N [--yes]"),
                      QStringLiteral("deletes a taxpayer; the question is answered Yes only "
                                     "with --yes"),
                      [](CliContext& c) { return Taxpayer(c, Button::Delete); }});
  commands.push_back({QStringLiteral("admin add"), QStringLiteral("--name T --phone T"),
                      QStringLiteral("adds an administrator"),
                      [](CliContext& c) { return Admin(c, Button::Add); }});
  commands.push_back({QStringLiteral("admin update"), QStringLiteral("--id ID --name T --phone T"),
                      QStringLiteral("changes the administrator with that ID"),
                      [](CliContext& c) { return Admin(c, Button::Update); }});
  commands.push_back({QStringLiteral("admin delete"), QStringLiteral("--id ID [--yes]"),
                      QStringLiteral("deletes an administrator; the question is answered Yes "
                                     "only with --yes"),
                      [](CliContext& c) { return Admin(c, Button::Delete); }});
}

}  // namespace krinu::cli
