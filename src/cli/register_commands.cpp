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
// runner as the window does. The status says whether the register was changed and read
// back; a register that cannot be read presses nothing.
template <class Form, class Fill>
int Press(CliContext& c, Form& form, Button button, Fill fill) {
  const bool ran = RunHandler(c.Ui, [&] {
    form.FormCreate();
    form.FormShow();
    if (!form.Failed && fill()) PressButton(form, button);
  });
  return ran && !form.Failed && form.Changed ? kOk : kFailed;
}

// What the user types into the register window's edits; an option not given leaves its
// edit as the window has it.
struct TaxpayerEdits {
  QString TaxNumber;
  std::optional<QString> Name, Bank, Account;
};
struct AdminEdits {
  qint32 Id = 0;  // the administrator to load first; none for Add
  std::optional<QString> Name, Phone;
};

// The edits a button reads; delete reads only the key.
void DeclareTaxpayer(QCommandLineParser& parser, Button button) {
  parser.addOption({QStringLiteral("tax-number"), QStringLiteral("az adózó adószáma"),
                    QStringLiteral("ADÓSZÁM")});
  if (button == Button::Delete) return;
  parser.addOptions(
      {{QStringLiteral("name"), QStringLiteral("az adózó neve"), QStringLiteral("NÉV")},
       {QStringLiteral("bank"), QStringLiteral("a bank neve"), QStringLiteral("BANK")},
       {QStringLiteral("account"), QStringLiteral("bankszámlaszám, 16 vagy 24 számjegy"),
        QStringLiteral("SZÁMLASZÁM")}});
}

void DeclareAdmin(QCommandLineParser& parser, Button button) {
  if (button != Button::Add)
    parser.addOption({QStringLiteral("id"), QStringLiteral("az ügyintéző azonosítója"),
                      QStringLiteral("AZONOSÍTÓ")});
  if (button == Button::Delete) return;
  parser.addOptions(
      {{QStringLiteral("name"), QStringLiteral("az ügyintéző neve"), QStringLiteral("NÉV")},
       {QStringLiteral("phone"), QStringLiteral("telefonszám"), QStringLiteral("TELEFON")}});
}

int Taxpayer(CliContext& c, Button button, const TaxpayerEdits& edits) {
  TAdozokTorzsForm form(c.Session, c.Ui);
  return Press(c, form, button, [&] {
    auto& s = form.State;
    if (button == Button::Update) {
      // As a user would: load the taxpayer from the list first, then correct the edits.
      for (int i = 0; i < form.RegisterList.Count(); ++i) {
        if (form.RegisterList.Object(i)->Adoszam == edits.TaxNumber) {
          s.AdozokLbx.ItemIndex = i;
          form.AdozokLbxDblClick();
          break;
        }
      }
    }
    s.AdoszamEd.Text = edits.TaxNumber;
    if (edits.Name) s.NevEd.Text = *edits.Name;
    if (edits.Bank) s.BankEd.Text = *edits.Bank;
    if (edits.Account) s.SzamlaEd.Text = *edits.Account;
    return true;
  });
}

int Admin(CliContext& c, Button button, const AdminEdits& edits) {
  TUgyintezokTorzsForm form(c.Session, c.Ui);
  bool found = button == Button::Add;
  const int status = Press(c, form, button, [&] {
    auto& s = form.State;
    if (button != Button::Add) {
      // The window addresses an administrator only by loading it from the list.
      for (int i = 0; i < form.RegisterList.Count() && !found; ++i) {
        if (form.RegisterList.Object(i)->UserId == edits.Id) {
          s.UgyintezokLbx.ItemIndex = i;
          form.UgyintezokLbxDblClick();
          found = true;
        }
      }
      if (!found) return false;
    }
    if (edits.Name) s.NevEd.Text = *edits.Name;
    if (edits.Phone) s.TelefonEd.Text = *edits.Phone;
    return true;
  });
  if (!found) {
    c.Err << "krinu-cli: nincs ilyen azonosítójú ügyintéző: " << edits.Id << "\n";
    return kFailed;
  }
  return status;
}

FromArgs<CommandRun> ReadTaxpayer(const QCommandLineParser& args, Button button) {
  TaxpayerEdits edits;
  const std::optional<QString> taxNumber = OptionValue(args, QStringLiteral("tax-number"));
  if (!taxNumber) return UsageError{QStringLiteral("a --tax-number megadása kötelező")};
  edits.TaxNumber = *taxNumber;
  edits.Name = OptionValue(args, QStringLiteral("name"));
  edits.Bank = OptionValue(args, QStringLiteral("bank"));
  edits.Account = OptionValue(args, QStringLiteral("account"));
  return CommandRun([button, edits](CliContext& c) { return Taxpayer(c, button, edits); });
}

FromArgs<CommandRun> ReadAdmin(const QCommandLineParser& args, Button button) {
  AdminEdits edits;
  if (button != Button::Add) {
    const std::optional<QString> id = OptionValue(args, QStringLiteral("id"));
    if (!id) return UsageError{QStringLiteral("a --id megadása kötelező")};
    bool ok = false;
    const qint64 number = id->toLongLong(&ok);
    if (!ok || number <= 0 || number > std::numeric_limits<qint32>::max())
      return UsageError{QStringLiteral("a --id értéke pozitív egész szám")};
    edits.Id = qint32(number);
  }
  edits.Name = OptionValue(args, QStringLiteral("name"));
  edits.Phone = OptionValue(args, QStringLiteral("phone"));
  return CommandRun([button, edits](CliContext& c) { return Admin(c, button, edits); });
}

// One button of a register window as a command.
void AddButtonCommand(std::vector<CliCommand>& commands, const QString& name, const QString& usage,
                      const QString& help, Button button,
                      void (*declare)(QCommandLineParser&, Button),
                      FromArgs<CommandRun> (*read)(const QCommandLineParser&, Button)) {
  commands.push_back(
      {.Name = name,
       .Usage = usage,
       .Help = help,
       .Declare =
           [declare, button](QCommandLineParser& parser) {
             declare(parser, button);
             // Only delete asks a question; --yes is the answer, No without it.
             if (button == Button::Delete)
               parser.addOption(
                   {QStringLiteral("yes"), QStringLiteral("igennel felel a kérdésre")});
           },
       .Read = [read, button](const QCommandLineParser& args) -> FromArgs<CommandRun> {
         FromArgs<CommandRun> run = read(args, button);
         if (!run.Value) return run;
         const bool yes = button == Button::Delete && args.isSet(QStringLiteral("yes"));
         return CommandRun([press = *run.Value, yes](CliContext& c) {
           c.Ui.AnswerYes = yes;
           return press(c);
         });
       }});
}

}  // namespace

void AddRegisterCommands(std::vector<CliCommand>& commands) {
  const QString fields =
      QStringLiteral("--tax-number ADÓSZÁM --name NÉV --bank BANK --account SZÁMLASZÁM");
  AddButtonCommand(commands, QStringLiteral("taxpayer add"), fields,
                   QStringLiteral("új adózó (a törzs új adózó gombja)"), Button::Add,
                   DeclareTaxpayer, ReadTaxpayer);
  AddButtonCommand(commands, QStringLiteral("taxpayer update"), fields,
                   QStringLiteral("módosítja az ilyen adószámú adózót"), Button::Update,
                   DeclareTaxpayer, ReadTaxpayer);
  AddButtonCommand(commands, QStringLiteral("taxpayer delete"),
                   QStringLiteral("--tax-number ADÓSZÁM [--yes]"),
                   QStringLiteral("törli az adózót; a kérdésre csak --yes esetén felel igennel"),
                   Button::Delete, DeclareTaxpayer, ReadTaxpayer);
  AddButtonCommand(commands, QStringLiteral("admin add"),
                   QStringLiteral("--name NÉV --phone TELEFON"), QStringLiteral("új ügyintéző"),
                   Button::Add, DeclareAdmin, ReadAdmin);
  AddButtonCommand(commands, QStringLiteral("admin update"),
                   QStringLiteral("--id AZONOSÍTÓ --name NÉV --phone TELEFON"),
                   QStringLiteral("módosítja az ilyen azonosítójú ügyintézőt"), Button::Update,
                   DeclareAdmin, ReadAdmin);
  AddButtonCommand(
      commands, QStringLiteral("admin delete"), QStringLiteral("--id AZONOSÍTÓ [--yes]"),
      QStringLiteral("törli az ügyintézőt; a kérdésre csak --yes esetén felel igennel"),
      Button::Delete, DeclareAdmin, ReadAdmin);
}

}  // namespace krinu::cli
