#pragma once
// A finding beyond the checks the program must make (a return with nothing in its period,
// a foreign currency, a tax number whose check digit is wrong): data on the job, changing
// none of the run's outputs. Each front end shows it its own way: the window on its panels
// and in a question before writing, krinu-cli as a line on standard error.

#include <QString>
#include <QStringList>

namespace krinu {

enum class TWarningKind {
  NothingInPeriod,  // every included line falls outside the period, or none is included
  ForeignCurrency,  // lines in a currency other than forint
  TaxNumberCheck,   // partners' tax numbers failing the check digit
};

struct TJobWarning {
  TWarningKind Kind = TWarningKind::NothingInPeriod;
  QString Text;  // one line, a sentence ending in "."
  // A return written despite it would be wrong: the window asks before writing, and
  // krinu-cli --strict refuses.
  bool Blocking = false;
  // What it is about, for a list: the partners' tax numbers, say.
  QStringList Items;
};

// The question the window asks before writing a return despite the warning.
inline QString ProceedQuestion(const TJobWarning& warning) {
  return warning.Text + QStringLiteral("\nBiztosan elkészíti a bevallást?");
}

}  // namespace krinu
