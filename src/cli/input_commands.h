#pragma once
// The input tab's chain from the command line, shared by load and convert.

#include <QString>
#include <array>
#include <optional>

#include "app/main_form.h"
#include "cli/cli.h"

namespace krinu::cli {

// How a user would correct the panels after the automatic chain.
struct InputOptions {
  QString Input;
  std::optional<QString> Separator;
  std::optional<bool> Header;
  std::optional<std::array<int, 6>> Columns;  // 1-based field numbers
  std::optional<QString> DateFormat;
  std::optional<int> DecSep;  // DecSepCbx item: 0 comma, 1 point
  std::optional<QString> Skipped, SkippedReport;
  // --profile: a saved profile's name, or "auto" for the one that fits the file's layout.
  std::optional<QString> Profile;
  // --save-profile: the corrections of a load that succeeded are saved under this name.
  std::optional<QString> SaveProfile;
};

// The options of InputOptions, declared once for load and convert.
void DeclareInputOptions(QCommandLineParser& parser);
// Reads them (and INPUT) from the parsed arguments.
FromArgs<InputOptions> ReadInputOptions(const QCommandLineParser& args);

// What load and convert do first. CheckOutputs: the files the command writes (the input
// options' own and `more`) must not replace the input or each other; false once that has
// been said. LoadInput: starts the form, chooses the file in it, applies the corrections as
// the window would, writes the skipped rows whatever the outcome (their report only when the
// load succeeded) and prints the input tab's summary to `summary`. kOk when the load
// succeeded, else kFailed (its message boxes have been printed).
[[nodiscard]] bool CheckOutputs(CliContext& c, const InputOptions& options,
                                std::vector<QString> more = {});
[[nodiscard]] int LoadInput(CliContext& c, TMainForm& form, const InputOptions& options,
                            QTextStream& summary);

// The refusal when an output would replace the input or another output; outputs are the
// files as named on the command line.
std::optional<QString> OutputCollision(const QString& input, const std::vector<QString>& outputs);

// The summary of the input tab, one control a line.
void PrintInputSummary(TMainForm& form, QTextStream& to);

}  // namespace krinu::cli
