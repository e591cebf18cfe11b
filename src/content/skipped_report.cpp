#include "content/skipped_report.h"

#include <algorithm>

#include "common/atomic_write.h"
#include "common/text_util.h"

namespace krinu {

namespace {

TStatus WriteAtomically(const QString& file, const QByteArray& bytes) {
  if (const std::optional<QString> reason = WriteFileAtomically(file, bytes))
    return Fail(TFailureKind::Access,
                QStringLiteral("Nem sikerült a(z) \"%1\" fájl írása: %2").arg(file, *reason));
  return {};
}

}  // namespace

QString SkippedNumberCaption() {
  return QStringLiteral("Sorszám");
}
QString SkippedReasonCaption() {
  return QStringLiteral("Ok");
}
QString SkippedReasonText(const TSkippedRecord& record) {
  return record.Reasons.join(QStringLiteral(", "));
}

QByteArray SkippedReportCsv(const std::vector<TSkippedRecord>& skipped) {
  qsizetype fields = 0;
  for (const TSkippedRecord& record : skipped) fields = std::max(fields, record.Fields.size());
  QStringList row{SkippedNumberCaption(), SkippedReasonCaption()};
  for (qsizetype i = 1; i <= fields; ++i) row << QStringLiteral("%1. mező").arg(i);

  QString text = row.join(u';') + QStringLiteral("\r\n");
  for (const TSkippedRecord& record : skipped) {
    row = QStringList{QString::number(record.RecordNumber), CsvCell(SkippedReasonText(record))};
    for (const QString& field : record.Fields) row << CsvCell(SpreadsheetSafe(field));
    text += row.join(u';') + QStringLiteral("\r\n");
  }
  return QByteArray("\xEF\xBB\xBF") + Utf8WithReplacement(text);
}

QByteArray SkippedRowsText(const QStringList& missedRows) {
  QString text;
  for (const QString& row : missedRows) text += row + u'\n';
  return Utf8WithReplacement(text);
}

TStatus WriteSkippedReport(const QString& file, const std::vector<TSkippedRecord>& skipped) {
  return WriteAtomically(file, SkippedReportCsv(skipped));
}

TStatus WriteSkippedRows(const QString& file, const QStringList& missedRows) {
  return WriteAtomically(file, SkippedRowsText(missedRows));
}

}  // namespace krinu
