#include "cli/cli.h"

#include <QFileInfo>

#include "cli/register_commands.h"
#include "common/quick_exit.h"

namespace krinu::cli {

void CliUserInterface::Print(const QString& kind, const QString& text) {
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  err_ << kind << ": " << shown << '\n';
  err_.flush();
  if (kind == QLatin1String("error")) ++ErrorCount;
}

bool CliUserInterface::Confirm(const QString& text) {
  Print(QStringLiteral("confirmation"), text);
  return AnswerYes;
}

bool CommandArgs::Parse(const QStringList& args, const QStringList& valued,
                        const QStringList& flags) {
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (!a.startsWith(QStringLiteral("--")) || a == QStringLiteral("--")) {
      positional_ << a;
      continue;
    }
    QString name = a.mid(2);
    std::optional<QString> inlineValue;
    if (const qsizetype eq = name.indexOf(QLatin1Char('=')); eq >= 0) {
      inlineValue = name.mid(eq + 1);
      name = name.left(eq);
    }
    if (valued.contains(name)) {
      if (!inlineValue) {
        if (i + 1 >= args.size()) {
          error_ = QStringLiteral("option --%1 needs a value").arg(name);
          return false;
        }
        inlineValue = args[++i];
      }
      values_.append({name, *inlineValue});
    } else if (flags.contains(name) && !inlineValue) {
      flags_ << name;
    } else {
      error_ = QStringLiteral("unknown option --%1").arg(name);
      return false;
    }
  }
  return true;
}

std::optional<QString> CommandArgs::Value(const QString& name) const {
  std::optional<QString> found;
  for (const auto& [k, v] : values_)
    if (k == name) found = v;  // the last one given wins
  return found;
}

std::vector<CliCommand> AllCommands() {
  std::vector<CliCommand> commands;
  AddListCommands(commands);
  AddInputCommands(commands);
  AddConvertCommand(commands);
  AddRegisterCommands(commands);
  return commands;
}

namespace {

void PrintUsage(QTextStream& out, const std::vector<CliCommand>& commands) {
  out << "usage: krinu-cli [--data-dir DIR] [--ini FILE] COMMAND [ARGS]\n\n"
         "Global options:\n"
         "  --data-dir DIR   data folder instead of the per-user one (created when missing)\n"
         "  --ini FILE       settings file instead of krinu.ini in the program folder\n"
         "  --help           this text; COMMAND --help for one command\n\n"
         "Commands:\n";
  for (const auto& c : commands)
    out << "  " << (c.Name + QLatin1Char(' ') + c.Usage).leftJustified(44) << ' ' << c.Help << '\n';
}

}  // namespace

int RunCli(const QStringList& argsIn, const QString& programPath, QTextStream& out,
           QTextStream& err, WhenDone whenDone) {
  const std::vector<CliCommand> commands = AllCommands();
  QString dataDir, ini;
  QStringList args = argsIn;
  while (!args.isEmpty() && args.front().startsWith(QStringLiteral("--"))) {
    const QString option = args.takeFirst();
    if (option == QStringLiteral("--help")) {
      PrintUsage(out, commands);
      return kOk;
    }
    if ((option == QStringLiteral("--data-dir") || option == QStringLiteral("--ini")) &&
        !args.isEmpty()) {
      (option == QStringLiteral("--data-dir") ? dataDir : ini) = args.takeFirst();
      continue;
    }
    err << "krinu-cli: unknown or incomplete option " << option << "\n";
    PrintUsage(err, commands);
    return kUsage;
  }

  // The longest command name that the arguments begin with.
  const CliCommand* command = nullptr;
  qsizetype words = 0;
  for (const auto& c : commands) {
    const QStringList name = c.Name.split(QLatin1Char(' '));
    if (name.size() > words && args.mid(0, name.size()) == name) {
      command = &c;
      words = name.size();
    }
  }
  if (!command) {
    err << "krinu-cli: "
        << (args.isEmpty() ? QStringLiteral("no command given")
                           : QStringLiteral("unknown command: ") + args.join(QLatin1Char(' ')))
        << "\n";
    PrintUsage(err, commands);
    return kUsage;
  }
  args = args.mid(words);
  if (args.contains(QStringLiteral("--help"))) {
    out << "usage: krinu-cli " << command->Name << ' ' << command->Usage << "\n  " << command->Help
        << '\n';
    return kOk;
  }
  CliUserInterface ui(err);
  TMainForm form(ui, BuildAppEnvironment(programPath, dataDir, ini));
  // The database bootstrap's own lines (a new database was made) are news to the user; they
  // go to standard error as they happen, among the message boxes.
  form.Log.Subscribe([&err](LogSource source, const QString& line) {
    if (source != LogSource::Database) return;
    err << "log: " << line << '\n';
    err.flush();
  });
  form.FormCreate();
  // A start-up that could not open the database has already said why.
  if (form.StartupAborted() || form.StartupFailed() || !form.Db) return kFailed;

  CliContext context{form, ui, out, err, args, {}};
  context.UsageError = [&err, command](const QString& message) {
    err << "krinu-cli " << command->Name << ": " << message << "\n"
        << "usage: krinu-cli " << command->Name << ' ' << command->Usage << '\n';
    return kUsage;
  };
  const int status = command->Run(context);
  out.flush();
  err.flush();
  if (whenDone == WhenDone::EndProcess && !kFreeEverythingAtExit) {
    // Every file was committed by the command; the database is closed properly.
    form.Db.reset();
    ExitWithoutTeardown(status);
  }
  return status;
}

void AddListCommands(std::vector<CliCommand>& commands) {
  commands.push_back({QStringLiteral("taxpayer list"), QString(),
                      QStringLiteral("the taxpayers, one per line: Adoszam / Nev"),
                      [](CliContext& c) {
                        if (!c.Args.isEmpty())
                          return c.UsageError(QStringLiteral("unexpected arguments"));
                        for (const QString& item : c.Form.State.AdozokCb.Items)
                          c.Out << item << '\n';
                        return kOk;
                      }});
  commands.push_back({QStringLiteral("admin list"), QString(),
                      QStringLiteral("the administrators, one per line: ID / Nev / Telefon"),
                      [](CliContext& c) {
                        if (!c.Args.isEmpty())
                          return c.UsageError(QStringLiteral("unexpected arguments"));
                        const auto& list = c.Form.UgyintezokList;
                        for (int i = 0; i < list.Count(); ++i)
                          c.Out << list.Key(i) << " / " << list.Object(i)->Nev << " / "
                                << list.Object(i)->Telefon << '\n';
                        return kOk;
                      }});
}

}  // namespace krinu::cli
