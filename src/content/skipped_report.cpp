#include "content/skipped_report.h"

#include <QSaveFile>
#include <QStringEncoder>
#include <algorithm>

namespace krinu {

namespace {

// The encoder, unlike QString::toUtf8, writes a lone surrogate as U+FFFD rather than "?";
// stateless, so that one at the very end is not held back.
QByteArray Utf8(const QString& text) {
  QStringEncoder encoder(QStringEncoder::Utf8, QStringConverter::Flag::Stateless);
  return encoder.encode(text);
}

// Quoted only when the cell would otherwise split or end the row.
QString CsvCell(const QString& value) {
  if (!value.contains(u';') && !value.contains(u'"') && !value.contains(u'\r') &&
      !value.contains(u'\n'))
    return value;
  QString quoted = value;
  quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
  return u'"' + quoted + u'"';
}

std::optional<QString> WriteAtomically(const QString& file, const QByteArray& bytes) {
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
    const QString reason = out.errorString();
    out.cancelWriting();
    return QStringLiteral("Nem sikerült a(z) \"%1\" fájl írása: %2").arg(file, reason);
  }
  return std::nullopt;
}

}  // namespace

QByteArray SkippedReportCsv(const std::vector<TSkippedRecord>& skipped) {
  qsizetype fields = 0;
  for (const TSkippedRecord& record : skipped) fields = std::max(fields, record.Fields.size());
  QStringList row{QStringLiteral("Sorszám"), QStringLiteral("Ok")};
  for (qsizetype i = 1; i <= fields; ++i) row << QStringLiteral("%1. mező").arg(i);

  QString text = row.join(u';') + QStringLiteral("\r\n");
  for (const TSkippedRecord& record : skipped) {
    row = QStringList{QString::number(record.RecordNumber),
                      CsvCell(record.Reasons.join(QStringLiteral(", ")))};
    for (const QString& field : record.Fields) row << CsvCell(field);
    text += row.join(u';') + QStringLiteral("\r\n");
  }
  return QByteArray("\xEF\xBB\xBF") + Utf8(text);
}

QByteArray SkippedRowsText(const QStringList& missedRows) {
  QString text;
  for (const QString& row : missedRows) text += row + u'\n';
  return Utf8(text);
}

std::optional<QString> WriteSkippedReport(const QString& file,
                                          const std::vector<TSkippedRecord>& skipped) {
  return WriteAtomically(file, SkippedReportCsv(skipped));
}

std::optional<QString> WriteSkippedRows(const QString& file, const QStringList& missedRows) {
  return WriteAtomically(file, SkippedRowsText(missedRows));
}

}  // namespace krinu
