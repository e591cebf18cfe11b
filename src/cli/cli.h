#pragma once
// krinu-cli: the main window's workflow driven from the command line. Commands set the
// controls as a user would and press the same buttons; message boxes go to standard error.

#include <QStringList>
#include <QTextStream>
#include <functional>
#include <optional>
#include <vector>

#include "app/session.h"
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
  // No dialogs on the command line: files come from the arguments, and a dialog that a
  // handler would open anyway is cancelled.
  std::optional<QString> OpenFile(const FileDialogSpec&) override { return std::nullopt; }
  std::optional<QString> SaveFile(const FileDialogSpec&) override { return std::nullopt; }
  OpenDocumentResult OpenDocument(const QString&) override { return OpenDocumentResult::Failed; }
  void Progress(const QString&, qint64, qint64) override {}
  void ShowModal(SecondaryWindow) override {}

  bool AnswerYes = false;
  int ErrorCount = 0;  // error boxes shown so far

 private:
  void Print(const QString& kind, const QString& text);
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
  TSession& Session;  // started; load and convert show it in a main form of their own
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

// Runs krinu-cli with args (without the program name); programPath stands for the
// program's own path (its folder holds krinu.ini and the seed database).
int RunCli(const QStringList& args, const QString& programPath, QTextStream& out, QTextStream& err);

// The command table; each group of commands adds itself here.
std::vector<CliCommand> AllCommands();
void AddListCommands(std::vector<CliCommand>& commands);
void AddInputCommands(std::vector<CliCommand>& commands);
void AddConvertCommand(std::vector<CliCommand>& commands);

}  // namespace krinu::cli
