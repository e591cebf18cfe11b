#pragma once
// The summary of a return that a person reads to check it before handing it in: the head
// (taxpayer, administrator, period, form, file), the main sheet's figures, one row per
// partner sheet with its totals as written and in forints, and the accounting of the lines.
// Everything is read from the return; nothing is computed a second way.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include "common/print_document.h"
#include "declaration/return_model.h"

namespace krinu {

struct TReturnSummary {
  const TReturn* Return = nullptr;
  QString XmlFileName;
  qint64 XmlBytes = -1;  // unknown below zero
  QDateTime RunTime;
  qint64 LoadedLines = 0;   // lines the load took in
  qint64 SkippedLines = 0;  // records the load set aside
  QStringList Warnings;     // findings beside the checks, one sentence each
};

// The partner sheets added up: the summary's total row.
struct TSummaryTotals {
  qint64 Rows = 0;
  qint64 Pages = 0;
  qint64 SumAlap = 0;  // as written
  qint64 SumAfa = 0;
  double SumAlapFt = 0;
  double SumAfaFt = 0;
};
[[nodiscard]] TSummaryTotals SummaryTotals(const TReturn& r);

// Numbers as a Hungarian reads them: thousands set apart by a blank, a decimal comma and
// two decimals for forints.
[[nodiscard]] QString HungarianNumber(qint64 value);
[[nodiscard]] QString HungarianForints(double value);
// "forint" or "ezer forint": the unit of the amounts as the return writes them.
[[nodiscard]] QString WrittenUnit(const TReturn& r);
// The main sheet's identifier: "2465A" for a 2024 period.
[[nodiscard]] QString FormIdentifier(const TReturn& r);

// What a line of a partner became in the return.
[[nodiscard]] QString LineStatusText(const TAFAAdat& line);

// For spreadsheets and checks: UTF-8 with a byte-order mark, ";" between fields, a header
// row and one row per partner sheet in sheet order, no total row.
[[nodiscard]] QByteArray SummaryCsv(const TReturn& r);

// The whole summary as one HTML document (the printed copy is made from it too). The
// pieces stand alone for a window that shows the partner table itself.
[[nodiscard]] QString SummaryHtml(const TReturnSummary& s);
[[nodiscard]] QString SummaryHeadHtml(const TReturnSummary& s);
[[nodiscard]] QString SummaryAccountingHtml(const TReturnSummary& s);
// The same for a printed copy: the head, the partner table and the accounting.
[[nodiscard]] TPrintDocument SummaryPrintDocument(const TReturnSummary& s);

}  // namespace krinu
