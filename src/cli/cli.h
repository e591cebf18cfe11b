#pragma once
// krinu-cli: the main window's workflow driven from the command line. Commands set the
// controls as a user would and press the same buttons; message boxes go to standard error.

#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "app/session.h"
#include "app/user_interface.h"

namespace krinu::cli {

// Exit statuses.
inline constexpr int kOk = 0;
inline constexpr int kFailed = 1;
inline constexpr int kUsage = 2;
inline constexpr int kRefusedByWarning = 3;  // --strict and a warning that blocks
inline constexpr int kSomeJobsFailed = 4;    // batch: one job or more failed, the others ran

// Message boxes as "KIND: TEXT" lines on standard error; dialogs answered from arguments.
class CliUserInterface : public UserInterface {
 public:
  explicit CliUserInterface(QTextStream& err) : err_(err) {}
  void Information(const QString& text) override { Print(QStringLiteral("information"), text); }
  void Warning(const QString& text) override { Print(QStringLiteral("warning"), text); }
  void Error(const QString& text) override { Print(QStringLiteral("error"), text); }
  bool Confirm(const QString& text) override;
  // The warning as a line of its own; with Strict a blocking one refuses.
  bool ProceedDespite(const TJobWarning& warning) override;
  void PrintWarning(const TJobWarning& warning);
  void ErrorWithReason(const QString& text, const QString& reason) override;
  // No dialogs on the command line: files come from the arguments, and a dialog that a
  // handler would open anyway is cancelled.
  std::optional<QString> OpenFile(const FileDialogSpec&) override { return std::nullopt; }
  std::optional<QString> SaveFile(const FileDialogSpec&) override { return std::nullopt; }
  OpenDocumentResult OpenDocument(const QString&) override { return OpenDocumentResult::Failed; }
  void Progress(const QString&, qint64, qint64) override {}
  void ShowModal(SecondaryWindow) override {}
  // Needs the QGuiApplication that main() makes when a command asks for a PDF.
  TStatus WritePdf(const QString& file, const TPrintDocument& document) override;

  bool AnswerYes = false;
  bool Strict = false;
  bool RefusedByWarning = false;
  QStringList PrintedWarnings;  // each is printed once, after the load or before the run
  int ErrorCount = 0;           // error boxes shown so far

 private:
  void Print(const QString& kind, const QString& text);
  QTextStream& err_;
};

struct CliContext {
  TSession& Session;  // started; load and convert show it in a main form of their own
  CliUserInterface& Ui;
  QTextStream& Out;
  QTextStream& Err;
  // The jobs the command ran: krinu-cli ends without freeing them (a million lines take a
  // while to free, and the process is ending anyway).
  std::vector<std::shared_ptr<TJob>> Jobs = {};
};

// A usage error: the arguments cannot be used as given.
struct UsageError {
  QString Message;
};

// What a command reads from its arguments, or why it cannot: read before the program
// starts, so that a usage error touches nothing.
template <class T>
struct [[nodiscard]] FromArgs {
  FromArgs(T value) : Value(std::move(value)) {}
  FromArgs(UsageError error) : Error(std::move(error.Message)) {}
  std::optional<T> Value;
  QString Error;
};

// The value of an option that takes one, when it was given (the last one given wins).
std::optional<QString> OptionValue(const QCommandLineParser& args, const QString& name);

// A command's work once the program has started; returns the exit status.
using CommandRun = std::function<int(CliContext&)>;
// Reads the parsed arguments into the command's work.
using CommandReader = std::function<FromArgs<CommandRun>(const QCommandLineParser&)>;

struct CliCommand {
  QString Name;             // "taxpayer list"
  QString Usage = {};       // what follows the name on the usage line
  QString Help = {};        // one line
  bool TakesInput = false;  // exactly one positional argument, the INPUT file; else none
  // Exactly one positional argument of another kind: its name and meaning (a profile's NAME).
  std::pair<QString, QString> Argument = {};
  // A command that checks its positional arguments itself (none or one): their name and
  // description.
  std::optional<std::pair<QString, QString>> OwnPositional = {};
  // Declares the command's options on its parser (empty: none).
  std::function<void(QCommandLineParser&)> Declare = {};
  CommandReader Read;
};

// The Read of a command whose work does not depend on its options.
CommandReader Always(CommandRun run);

// What RunCli does once the command is done and its outputs are written.
enum class WhenDone {
  Return,      // free everything and return the status (tests, benchmarks)
  EndProcess,  // krinu-cli itself: end the process without freeing the loaded state
};

// Whether the arguments ask for a PDF, which needs fonts: a QGuiApplication rather than a
// QCoreApplication (on an offscreen platform where no display is needed).
[[nodiscard]] bool NeedsFonts(const QStringList& args);

// Runs krinu-cli with args (without the program name); programPath stands for the
// program's own path (its folder holds krinu.ini and the seed database).
// The refusal ("krinu-cli: …") when an argument, as the system handed it over, is no text
// the program can keep byte for byte (a file name in another encoding): it would reach
// another file than the one named. Nothing when every argument can be kept.
[[nodiscard]] std::optional<QString> UnkeepableArgument(const QList<QByteArray>& rawArgs);

int RunCli(const QStringList& args, const QString& programPath, QTextStream& out, QTextStream& err,
           WhenDone whenDone = WhenDone::Return);

// The command table; each group of commands adds itself here.
std::vector<CliCommand> AllCommands();
void AddListCommands(std::vector<CliCommand>& commands);
void AddInputCommands(std::vector<CliCommand>& commands);
void AddConvertCommand(std::vector<CliCommand>& commands);
void AddProfileCommands(std::vector<CliCommand>& commands);
void AddBatchCommand(std::vector<CliCommand>& commands);

// The command's work for these arguments (what follows the command's name), parsed exactly
// as RunCli parses them; the usage error otherwise.
[[nodiscard]] FromArgs<CommandRun> ReadCommandArgs(const CliCommand& command,
                                                   const QStringList& args);

}  // namespace krinu::cli
