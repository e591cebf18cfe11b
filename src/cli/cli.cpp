#include "cli/cli.h"

#include <new>

#include <QFile>
#include <QFileInfo>

#include "app/command_line.h"
#include "cli/register_commands.h"
#include "common/quick_exit.h"
#include "common/result.h"
#include "common/text_util.h"
#include "masterdata/registers.h"
#include "report/pdf_document.h"

namespace krinu::cli {

void CliUserInterface::Print(const QString& kind, const QString& text) {
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  // A stored value or a file name inside a box must not drive the terminal.
  err_ << kind << ": " << EscapeControlCharacters(shown, true) << '\n';
  err_.flush();
  if (kind == QLatin1String("error")) ++ErrorCount;
}

void CliUserInterface::ErrorWithReason(const QString& text, const QString& reason) {
  Error(text);
  if (reason.isEmpty()) return;
  err_ << "krinu-cli: " << EscapeControlCharacters(reason, false) << '\n';
  err_.flush();
}

bool CliUserInterface::Confirm(const QString& text) {
  Print(QStringLiteral("confirmation"), text);
  return AnswerYes;
}

TStatus CliUserInterface::WritePdf(const QString& file, const TPrintDocument& document) {
  return WritePrintedPdf(file, document);
}

bool NeedsFonts(const QStringList& args) {
  // A batch's rows may ask for printed summaries; its template does not.
  if (args.contains(QStringLiteral("batch")) && !args.contains(QStringLiteral("--template")))
    return true;
  for (qsizetype i = 0; i < args.size(); ++i) {
    QString value;
    if (args[i] == QStringLiteral("--summary") && i + 1 < args.size())
      value = args[i + 1];
    else if (args[i].startsWith(QStringLiteral("--summary=")))
      value = args[i].mid(10);
    if (value.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) return true;
  }
  return false;
}

void CliUserInterface::PrintWarning(const TJobWarning& warning) {
  if (PrintedWarnings.contains(warning.Text)) return;
  PrintedWarnings << warning.Text;
  err_ << "krinu-cli: figyelmeztetés: " << EscapeControlCharacters(warning.Text, true) << '\n';
  err_.flush();
}

bool CliUserInterface::ProceedDespite(const TJobWarning& warning) {
  PrintWarning(warning);
  if (!Strict || !warning.Blocking) return true;
  RefusedByWarning = true;
  return false;
}

std::optional<QString> OptionValue(const QCommandLineParser& args, const QString& name) {
  if (!args.isSet(name)) return std::nullopt;
  return args.value(name);
}

std::optional<QString> UnkeepableArgument(const QList<QByteArray>& rawArgs) {
  for (qsizetype i = 0; i < rawArgs.size(); ++i) {
    const QString decoded = QFile::decodeName(rawArgs[i]);
    if (QFile::encodeName(decoded) == rawArgs[i]) continue;
    return QStringLiteral(
               "krinu-cli: a(z) %1. argumentum (%2) nem érvényes UTF-8 szöveg, például egy más "
               "kódolású fájlnév; a program nem tudná pontosan ezt a nevet használni, ezért nem "
               "kezdett hozzá. Kérem, adjon a fájlnak UTF-8 nevet")
        .arg(i + 1)
        .arg(EscapeControlCharacters(decoded, false));
  }
  return std::nullopt;
}

CommandReader Always(CommandRun run) {
  return [run](const QCommandLineParser&) -> FromArgs<CommandRun> { return run; };
}

std::vector<CliCommand> AllCommands() {
  std::vector<CliCommand> commands;
  AddListCommands(commands);
  AddInputCommands(commands);
  AddConvertCommand(commands);
  AddBatchCommand(commands);
  AddProfileCommands(commands);
  AddRegisterCommands(commands);
  return commands;
}

namespace {

// The command's name and what follows it on a usage line.
QString Synopsis(const CliCommand& command) {
  return command.Usage.isEmpty() ? command.Name : command.Name + QLatin1Char(' ') + command.Usage;
}

// The options that stand before the command.
void DeclareGlobalOptions(QCommandLineParser& global) {
  global.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
  global.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  global.addOptions({{QStringLiteral("data-dir"),
                      QStringLiteral("adatmappa a felhasználói helyett; ha nincs, létrehozza"),
                      QStringLiteral("MAPPA")},
                     {QStringLiteral("ini"),
                      QStringLiteral("beállításfájl a programmappa krinu.ini fájlja helyett"),
                      QStringLiteral("FÁJL")},
                     {QStringLiteral("help"),
                      QStringLiteral("ez a leírás; egy parancs leírása: PARANCS --help")}});
}

void PrintUsage(QTextStream& out, const QCommandLineParser& global,
                const std::vector<CliCommand>& commands) {
  out << "használat: krinu-cli [--data-dir MAPPA] [--ini FÁJL] PARANCS [ARGUMENTUMOK]\n\n"
         "Általános kapcsolók:\n"
      << CommandLineOptionList(global) << "\nParancsok:\n";
  for (const auto& c : commands) {
    const QString synopsis = Synopsis(c);
    // A synopsis too long for its column puts the description on the next line.
    if (synopsis.size() > 44)
      out << "  " << synopsis << '\n' << QString(47, QLatin1Char(' ')) << c.Help << '\n';
    else
      out << "  " << synopsis.leftJustified(44) << ' ' << c.Help << '\n';
  }
}

QString UsageLine(const CliCommand& command) {
  return QStringLiteral("használat: krinu-cli ") + Synopsis(command);
}

// The parser of one command: its own options, --help, and INPUT where it takes one.
void DeclareCommand(QCommandLineParser& parser, const CliCommand& command) {
  parser.setApplicationDescription(command.Help);
  // krinu-cli has no one-letter options: "-x.csv" is reported as the option it looks like
  // (a file whose name begins with "-" follows "--").
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.addOption({QStringLiteral("help"), QStringLiteral("ez a leírás")});
  if (command.Declare) command.Declare(parser);
  if (command.TakesInput)
    parser.addPositionalArgument(QStringLiteral("CSV"),
                                 QStringLiteral("a könyvelőprogram CSV exportja"));
  if (command.OwnPositional)
    parser.addPositionalArgument(command.OwnPositional->first, command.OwnPositional->second);
  if (!command.Argument.first.isEmpty())
    parser.addPositionalArgument(command.Argument.first, command.Argument.second);
}

QString CommandHelp(const QCommandLineParser& parser, const CliCommand& command) {
  return CommandLineHelp(parser, UsageLine(command));
}

// The command's work, or the usage error in its arguments.
FromArgs<CommandRun> ReadCommand(const QCommandLineParser& parser, const CliCommand& command) {
  const qsizetype positionals = parser.positionalArguments().size();
  if (command.OwnPositional) return command.Read(parser);
  if (command.TakesInput && positionals != 1)
    return UsageError{QStringLiteral("pontosan egy bemeneti CSV fájlt kell megadni")};
  if (!command.Argument.first.isEmpty() && positionals != 1)
    return UsageError{
        QStringLiteral("pontosan egy %1 argumentumot kell megadni").arg(command.Argument.first)};
  if (!command.TakesInput && command.Argument.first.isEmpty() && positionals != 0)
    return UsageError{QStringLiteral("fölösleges argumentum: ") +
                      parser.positionalArguments().join(QLatin1Char(' '))};
  return command.Read(parser);
}

}  // namespace

FromArgs<CommandRun> ReadCommandArgs(const CliCommand& command, const QStringList& args) {
  QCommandLineParser parser;
  DeclareCommand(parser, command);
  if (!parser.parse(QStringList{QStringLiteral("krinu-cli")} + args))
    return UsageError{CommandLineError(parser)};
  return ReadCommand(parser, command);
}

int RunCli(const QStringList& argsIn, const QString& programPath, QTextStream& out,
           QTextStream& err, WhenDone whenDone) {
  const std::vector<CliCommand> commands = AllCommands();
  // The global options stand before the command; what follows it is the command's.
  QCommandLineParser global;
  DeclareGlobalOptions(global);
  const QString program = QStringLiteral("krinu-cli");
  if (!global.parse(QStringList{program} + argsIn)) {
    err << "krinu-cli: " << CommandLineError(global) << "\n";
    PrintUsage(err, global, commands);
    return kUsage;
  }
  if (global.isSet(QStringLiteral("help"))) {
    PrintUsage(out, global, commands);
    return kOk;
  }
  const QString dataDir = global.value(QStringLiteral("data-dir"));
  const QString ini = global.value(QStringLiteral("ini"));
  QStringList args = global.positionalArguments();

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
        << (args.isEmpty() ? QStringLiteral("nincs megadva parancs")
                           : QStringLiteral("ismeretlen parancs: ") + args.join(QLatin1Char(' ')))
        << "\n";
    PrintUsage(err, global, commands);
    return kUsage;
  }
  args = args.mid(words);
  QCommandLineParser parser;
  DeclareCommand(parser, *command);
  const bool parsed = parser.parse(QStringList{program} + args);
  // --help answers even when the rest of the arguments are wrong.
  if (parsed ? parser.isSet(QStringLiteral("help")) : args.contains(QStringLiteral("--help"))) {
    out << CommandHelp(parser, *command);
    return kOk;
  }
  const FromArgs<CommandRun> run =
      parsed ? ReadCommand(parser, *command) : UsageError{CommandLineError(parser)};
  if (!run.Value) {
    err << "krinu-cli " << command->Name << ": " << run.Error << "\n"
        << UsageLine(*command) << '\n';
    return kUsage;
  }

  CliUserInterface ui(err);
  TSession session(BuildAppEnvironment(programPath, dataDir, ini));
  // The database bootstrap's own lines (a new database was made) are news to the user; they
  // go to standard error as they happen, among the message boxes.
  const LogSubscription bootstrapLines =
      session.Log.Subscribe([&err](LogSource source, const QString& line) {
        if (source != LogSource::Database) return;
        err << "log: " << line << '\n';
        err.flush();
      });
  const TStartup started = session.Start(ui);
  for (const QString& notice : session.Notices)
    err << "krinu-cli: figyelmeztetés: " << EscapeControlCharacters(notice, false) << '\n';
  err.flush();
  // A start-up that could not open the database has already said why.
  if (started != TStartup::Started) return kFailed;

  CliContext context{session, ui, out, err};
  int status = kFailed;
  try {
    status = (*run.Value)(context);
  } catch (const std::bad_alloc&) {
    // Outside a handler (writing the skipped rows, say): every file is written beside its
    // target and put in place only when complete, so nothing half-written is left.
    ui.Error(OutOfMemoryText());
  }
  out.flush();
  err.flush();
  if (whenDone == WhenDone::EndProcess && !kFreeEverythingAtExit) {
    // Every file was committed by the command; the database is closed properly.
    session.Db.reset();
    ExitWithoutTeardown(status);
  }
  return status;
}

void AddListCommands(std::vector<CliCommand>& commands) {
  commands.push_back({.Name = QStringLiteral("taxpayer list"),
                      .Help = QStringLiteral("az adózók, soronként egy: Adószám / Név"),
                      .Read = Always([](CliContext& c) {
                        const auto& list = c.Session.AdozokList;
                        for (int i = 0; i < list.Count(); ++i)
                          c.Out << EscapeControlCharacters(AdozoItemText(*list.Object(i)), false)
                                << '\n';
                        return kOk;
                      })});
  commands.push_back(
      {.Name = QStringLiteral("admin list"),
       .Help = QStringLiteral("az ügyintézők, soronként egy: Azonosító / Név / Telefon"),
       .Read = Always([](CliContext& c) {
         const auto& list = c.Session.UgyintezokList;
         for (int i = 0; i < list.Count(); ++i)
           c.Out << EscapeControlCharacters(list.Key(i) + QStringLiteral(" / ") +
                                                list.Object(i)->Nev + QStringLiteral(" / ") +
                                                list.Object(i)->Telefon,
                                            false)
                 << '\n';
         return kOk;
       })});
}

}  // namespace krinu::cli
