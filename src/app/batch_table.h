#pragma once
// What became of each job of a batch, and the table of them all for a spreadsheet (CSV) or
// a browser (HTML).

#include <QByteArray>
#include <QDate>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "app/batch_manifest.h"
#include "app/job.h"
#include "app/session.h"

namespace krinu {

struct TBatchResult {
  bool Ok = false;
  QString Adoszam, Nev;  // the taxpayer as the row names it, and its name when known
  QString From, To;      // the period as the row gives it
  QString Input;
  // Counted once the load ran (-1 before).
  qint64 Loaded = -1, Skipped = -1;
  // Counted once the return was written (-1 before).
  qint64 Included = -1, OutsidePeriod = -1, Partners = -1;
  qint64 SumAlap = 0, SumAfa = 0;  // the partner sheets' totals as written
  QStringList Warnings;
  QString Xml, Log, Summary;  // the files written
  QString Error;              // why it failed
  QString Messages;           // what the job said on the way (message boxes, warnings)

  [[nodiscard]] QJsonObject ToJson() const;
  [[nodiscard]] static TBatchResult FromJson(const QJsonObject& o);
};

// The files a row writes: its XML (named as the run completes it), its log (beside the XML
// unless the row names one) and its summary (when asked for).
struct TBatchOutputs {
  QString Xml, Log, Summary;
};
[[nodiscard]] TBatchOutputs BatchOutputsOf(const TBatchRow& row);

// Per row, the refusal when one of its outputs would replace an input of the batch (or
// `manifest`, the batch's own description) or an output of an earlier row (or `table`, the
// batch's own table), else nothing.
[[nodiscard]] std::vector<std::optional<QString>> OutputClashes(const std::vector<TBatchRow>& rows,
                                                                const QString& table = {},
                                                                const QString& manifest = {});

// A job that did not run: the row's own values and why.
[[nodiscard]] TBatchResult FailedBatchResult(const TBatchRow& row, const QString& error);

// Whether two names reach one file, the files need not exist yet.
[[nodiscard]] bool SameFileName(const QString& a, const QString& b);

// Runs the rows one after another in manifest order through runRow; a row with a clash
// (OutputClashes) fails without running. onResult hears each result; false stops the batch.
void RunBatchRows(const std::vector<TBatchRow>& rows,
                  const std::vector<std::optional<QString>>& clashes,
                  const std::function<TBatchResult(const TBatchRow&)>& runRow,
                  const std::function<bool(qsizetype, const TBatchResult&)>& onResult);

// The result of a job as far as it came: the counts of its load and, once its return was
// written, of the return.
void CountJob(const TJob& job, TBatchResult& result);

// The name of the taxpayer with that tax number in the register, empty when none.
[[nodiscard]] QString TaxpayerName(const TSession& session, const QString& adoszam);

// The line krinu-cli prints when the job is done: "[3/40] 12345678 Minta Kft … kész, 12
// partner".
[[nodiscard]] QString BatchProgressLine(qsizetype number, qsizetype total, const TBatchResult& r);

// The status column's text.
[[nodiscard]] QString BatchStatusText(const TBatchResult& r);

// One row per job in manifest order, no total row. CSV: UTF-8 with a byte-order mark, ";"
// between the fields, as the return summary's CSV.
[[nodiscard]] QByteArray BatchTableCsv(const std::vector<TBatchResult>& results);
[[nodiscard]] QByteArray BatchTableHtml(const std::vector<TBatchResult>& results);
// The table in the format its name ends with (.csv, .html, .htm), written atomically; nothing
// when the name has no such ending.
[[nodiscard]] bool BatchTableFormatKnown(const QString& file);
TStatus WriteBatchTable(const QString& file, const std::vector<TBatchResult>& results);

}  // namespace krinu
