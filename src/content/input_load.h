#pragma once
// Reading the whole input file into invoice lines; records whose values do not convert, or
// whose VAT is above half the net amount, are set aside with their reasons.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "common/preview_grid.h"
#include "common/progress.h"
#include "common/result.h"
#include "content/afa_adat.h"
#include "content/column_assignment.h"
#include "reader/input_file.h"

namespace krinu {

// Why a record was not loaded: one bit per value that did not convert.
enum TSkipReason : quint8 {
  srAdoszam = 1u << 0,
  srDatum = 1u << 1,
  srAFAAlap = 1u << 2,
  srAFA = 1u << 3,
  srAFATooHigh = 1u << 4,  // alone: the values converted, but the VAT is above half the net
};

// One record that was not loaded, for the skipped-rows report. Its text is the one entry of
// MissedRows beside it, kept once: the fields are read out of it where they end.
struct TSkippedRecord {
  qint64 RecordNumber = 0;        // counted as the reader's error messages count: header included,
                                  // ignored empty lines not
  quint8 Failed = 0;              // TSkipReason bits
  std::vector<qint32> FieldEnds;  // where each field ends in the row's text
  bool operator==(const TSkippedRecord&) const = default;

  // "Adószám", "Dátum", "Nettó összeg", "ÁFA összeg" or "ÁFA > nettó/2", in this order.
  [[nodiscard]] QStringList Reasons() const;
  [[nodiscard]] qsizetype FieldCount() const { return qsizetype(FieldEnds.size()); }
  // The value of field i (0-based) as the reader delivered it, out of the row's text.
  [[nodiscard]] QStringView Field(const QString& row, qsizetype i) const;
};

// A loaded line whose currency column names another currency than the forint.
struct TForeignLine {
  qint64 RecordNumber = 0;  // as TSkippedRecord counts it
  QString Currency;         // as written, trimmed
};

struct TLoadResult {
  TAFAAdatList AFAAdatList;                // sorted by Adoszam after a successful load
  QStringList MissedRows;                  // the skipped records' values joined with the separator
  std::vector<TSkippedRecord> Skipped;     // one per entry of MissedRows, in the same order
  std::vector<TForeignLine> ForeignLines;  // in file order; only with a currency column
  // The reader's message when an error ended the load; the lists then hold the records
  // handled before it, unsorted.
  TStatus Outcome;
  bool Succeeded() const { return Outcome.Ok(); }
};

// Every record is either loaded or skipped. decSepIndex is DecSepCbx's item index (no
// selection reads as "Vessző"). Progress: records done against InputLineCount; stopped
// through it, the load fails as Cancelled with nothing in its lists. A currency
// column (1-based field, 0 for none) is only read: its value neither converts nor skips.
[[nodiscard]] TLoadResult LoadInputData(const TInputSettings& settings,
                                        const TColumnSelection& columns, const QString& dateFormat,
                                        int decSepIndex, const CancellableProgressFn& progress = {},
                                        int currencyColumn = 0);

// Whether a currency column's value is the forint: "HUF", "Ft" or nothing.
[[nodiscard]] bool IsForint(QStringView currency);

// The field (1-based, 0 for none) of a currency column in the preview: one headed
// "Pénznem", "Deviza", "Valuta" or "Currency", or else one whose every value is the code of
// a common currency or "Ft". The six assigned fields are not candidates.
[[nodiscard]] int FindCurrencyColumn(const TPreviewGrid& grid, bool header,
                                     const TColumnSelection& assigned);

// The order of AFAAdatList: by Adoszam in plain 16-bit character order (what the locale's
// collation gives for tax numbers), stable.
void SortAFAAdatList(TAFAAdatList& list);

// The reason a load stopped, for the user beside the load's error box: the reader's message
// (with the record and field number) on one line. Empty for an empty message.
[[nodiscard]] QString LoadErrorReason(const QString& message);

enum class TMessageKind { Information, Warning };
struct TLoadResultMessage {
  TMessageKind Kind = TMessageKind::Information;
  QString Text;  // lines separated by "\n"
};

// The message after a successful load: loaded and missed counts, and the caption of the
// tab that follows (trimmed here).
[[nodiscard]] TLoadResultMessage InputLoadResultMessage(qint64 loaded, qint64 missed,
                                                        const QString& nextTabCaption);

}  // namespace krinu
