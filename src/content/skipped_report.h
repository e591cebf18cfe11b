#pragma once
// The skipped records as files: the report (record number, reasons, fields) as CSV for a
// spreadsheet, and the plain rows as MissedRows holds them.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "content/input_load.h"

namespace krinu {

// The captions of the record number and reason columns, and the reasons of one record as
// one text: the report and the viewer show them alike.
QString SkippedNumberCaption();
QString SkippedReasonCaption();
QString SkippedReasonText(const TSkippedRecord& record);

// A skipped record's row text, the fields joined with the separator, and where each field
// ends in it (into record).
QString SkippedRowOf(const QStringList& fields, QChar separator, TSkippedRecord& record);
// The same out of fieldCount values, field(i) giving each.
QString SkippedRowOf(qsizetype fieldCount, const std::function<QStringView(qsizetype)>& field,
                     QChar separator, TSkippedRecord& record);

// UTF-8 with byte-order mark, ";" between cells, CR LF after each row; a header row, then
// one row per record: its number, the reasons joined by ", ", its fields (read out of its
// row in rows, the entry of the same index).
QByteArray SkippedReportCsv(const QStringList& rows, const std::vector<TSkippedRecord>& skipped);

// UTF-8 without byte-order mark, "\n" after every row.
QByteArray SkippedRowsText(const QStringList& missedRows);

// Written beside the target a piece at a time and moved over it: a failure leaves the
// previous file as it was. The error names the file and gives the system's reason.
TStatus WriteSkippedReport(const QString& file, const QStringList& rows,
                           const std::vector<TSkippedRecord>& skipped);
TStatus WriteSkippedRows(const QString& file, const QStringList& missedRows);

}  // namespace krinu
