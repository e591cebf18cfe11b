#pragma once
// krinu-cli: the main window's workflow driven from the command line. Commands set the
// controls as a user would and press the same buttons; message boxes go to standard error.

#include <QStringList>
#include <QTextStream>
#include <functional>
#include <optional>
#include <vector>

#include "app/main_form.h"
#include "app/user_interface.h"

namespace krinu::cli {

// Exit statuses.
inline constexpr int kOk = 0;
inline constexpr int kFailed = 1;
inline constexpr int kUsage = 2;

// Message boxes as "KIND: TEXT" lines on standard error; dialogs answered from arguments.
class CliUserInterface : public UserInterface {
 public:
  explicit CliUserInterface(QTextStream& err) : err_(err) {}
  void Information(const QString& text) override { Print(QStringLiteral("information"), text); }
  void Warning(const QString& text) override { Print(QStringLiteral("warning"), text); }
  void Error(const QString& text) override { Print(QStringLiteral("error"), text); }
  bool Confirm(const QString& text) override;
  std::optional<QString> OpenFile(const FileDialogSpec&) override { return Take(OpenFileAnswer); }
  std::optional<QString> SaveFile(const FileDialogSpec&) override { return Take(SaveFileAnswer); }
  OpenDocumentResult OpenDocument(const QString&) override { return OpenDocumentResult::Failed; }
  void Progress(const QString&, qint64, qint64) override {}
  void ShowModal(SecondaryWindow) override {}

  bool AnswerYes = false;
  std::optional<QString> OpenFileAnswer, SaveFileAnswer;
  int ErrorCount = 0;  // error boxes shown so far

 private:
  void Print(const QString& kind, const QString& text);
  static std::optional<QString> Take(std::optional<QString>& answer) {
    auto a = answer;
    answer.reset();
    return a;
  }
  QTextStream& err_;
};

// The arguments after a command's name: options with values, flags and the rest.
class CommandArgs {
 public:
  // valued: options that take a value; flags: options that stand alone.
  // false (with Error()) when an option is unknown or lacks its value.
  bool Parse(const QStringList& args, const QStringList& valued, const QStringList& flags);
  std::optional<QString> Value(const QString& name) const;
  bool Has(const QString& name) const { return flags_.contains(name); }
  const QStringList& Positional() const { return positional_; }
  const QString& Error() const { return error_; }

 private:
  QList<std::pair<QString, QString>> values_;
  QStringList flags_;
  QStringList positional_;
  QString error_;
};

struct CliContext {
  TMainForm& Form;
  CliUserInterface& Ui;
  QTextStream& Out;
  QTextStream& Err;
  QStringList Args;  // what follows the command's name
  // Prints "usage error" text with the command's usage line; returns kUsage.
  std::function<int(const QString&)> UsageError;
};

struct CliCommand {
  QString Name;   // "taxpayer list"
  QString Usage;  // the arguments, for --help
  QString Help;   // one line
  std::function<int(CliContext&)> Run;
};

// What RunCli does once the command is done and its outputs are written.
enum class WhenDone {
  Return,      // free everything and return the status (tests, benchmarks)
  EndProcess,  // krinu-cli itself: end the process without freeing the loaded state
};

// Runs krinu-cli with args (without the program name); programPath stands for the
// program's own path (its folder holds krinu.ini and the seed database).
int RunCli(const QStringList& args, const QString& programPath, QTextStream& out, QTextStream& err,
           WhenDone whenDone = WhenDone::Return);

// The command table; each group of commands adds itself here.
std::vector<CliCommand> AllCommands();
void AddListCommands(std::vector<CliCommand>& commands);
void AddInputCommands(std::vector<CliCommand>& commands);
void AddConvertCommand(std::vector<CliCommand>& commands);

}  // namespace krinu::cli
