#pragma once
// What the two programs say about their command line, in Hungarian: QCommandLineParser's
// own headings and errors are English unless a translation happens to be installed.

#include <QCommandLineParser>
#include <QString>

namespace krinu {

// The parser's help with `usageLine` in place of its own first line and its headings in
// Hungarian.
[[nodiscard]] QString CommandLineHelp(const QCommandLineParser& parser, const QString& usageLine);

// The option list of the parser's help alone (what follows its options heading).
[[nodiscard]] QString CommandLineOptionList(const QCommandLineParser& parser);

// Why parse() failed: an unknown option, a missing or unexpected value.
[[nodiscard]] QString CommandLineError(const QCommandLineParser& parser);

}  // namespace krinu
