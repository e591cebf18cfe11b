#include "content/skipped_report.h"

#include <algorithm>
#include <functional>

#include "common/output_file.h"
#include "common/text_util.h"

namespace krinu {

namespace {

// The text is made and written a piece at a time: twenty thousand skipped rows of ten
// kilobytes each would otherwise stand in memory twice more, as one text and its bytes.
constexpr qsizetype kChunkBytes = qsizetype(1) << 20;

using TPieceFn = std::function<void(QString&)>;  // appends the next piece; none left: nothing

// Each piece as UTF-8 into one buffer, handed on whenever it is full.
template <class Sink>
bool Stream(const QByteArray& prefix, qsizetype pieces, const TPieceFn& piece, Sink&& sink) {
  QByteArray buffer = prefix;
  QString text;
  for (qsizetype i = 0; i < pieces; ++i) {
    text.clear();
    piece(text);
    buffer += Utf8WithReplacement(text);
    if (buffer.size() >= kChunkBytes) {
      if (!sink(buffer)) return false;
      buffer.clear();
    }
  }
  return buffer.isEmpty() || sink(buffer);
}

QByteArray Collect(const QByteArray& prefix, qsizetype pieces, const TPieceFn& piece) {
  QByteArray all;
  Stream(prefix, pieces, piece, [&all](const QByteArray& bytes) {
    all += bytes;
    return true;
  });
  return all;
}

TStatus WriteStreamed(const QString& file, const QByteArray& prefix, qsizetype pieces,
                      const TPieceFn& piece) {
  TOutputFile out(file);
  std::optional<QString> reason = out.Open();
  if (!reason) {
    if (Stream(prefix, pieces, piece, [&out](const QByteArray& bytes) { return out.Write(bytes); }))
      reason = out.Commit();
    else
      reason = out.Reason();
  }
  if (!reason) return {};
  out.Cancel();
  return Fail(TFailureKind::Access,
              QStringLiteral("Nem sikerült a(z) \"%1\" fájl írása: %2").arg(file, *reason));
}

const QByteArray kBom("\xEF\xBB\xBF");

// The report's header row first, then one row per record.
TPieceFn ReportRows(const QStringList& rows, const std::vector<TSkippedRecord>& skipped) {
  qsizetype fields = 0;
  for (const TSkippedRecord& record : skipped) fields = std::max(fields, record.FieldCount());
  return [&rows, &skipped, fields, next = qsizetype(-1)](QString& text) mutable {
    if (next < 0) {
      text = SkippedNumberCaption() + u';' + SkippedReasonCaption();
      for (qsizetype i = 1; i <= fields; ++i) text += QStringLiteral(";%1. mező").arg(i);
    } else {
      const TSkippedRecord& record = skipped[size_t(next)];
      const QString row = rows.value(next);
      text = QString::number(record.RecordNumber) + u';' + CsvCell(SkippedReasonText(record));
      for (qsizetype i = 0; i < record.FieldCount(); ++i)
        text += u';' + CsvCell(SpreadsheetSafe(record.Field(row, i).toString()));
    }
    text += QStringLiteral("\r\n");
    ++next;
  };
}

TPieceFn PlainRows(const QStringList& rows) {
  return [&rows, next = qsizetype(0)](QString& text) mutable {
    text = rows[next++];
    text += u'\n';
  };
}

}  // namespace

QString SkippedNumberCaption() {
  return QStringLiteral("Sorszám");
}
QString SkippedReasonCaption() {
  return QStringLiteral("Ok");
}
QString SkippedReasonText(const TSkippedRecord& record) {
  return record.Reasons().join(QStringLiteral(", "));
}

QString SkippedRowOf(qsizetype fieldCount, const std::function<QStringView(qsizetype)>& field,
                     QChar separator, TSkippedRecord& record) {
  qsizetype length = fieldCount > 0 ? fieldCount - 1 : 0;
  for (qsizetype i = 0; i < fieldCount; ++i) length += field(i).size();
  QString row;
  row.reserve(length);
  record.FieldEnds.clear();
  record.FieldEnds.reserve(size_t(std::max<qsizetype>(fieldCount, 0)));
  for (qsizetype i = 0; i < fieldCount; ++i) {
    if (i > 0) row += separator;
    row += field(i);
    record.FieldEnds.push_back(qint32(row.size()));
  }
  return row;
}

QString SkippedRowOf(const QStringList& fields, QChar separator, TSkippedRecord& record) {
  return SkippedRowOf(
      fields.size(), [&fields](qsizetype i) { return QStringView(fields[i]); }, separator, record);
}

QByteArray SkippedReportCsv(const QStringList& rows, const std::vector<TSkippedRecord>& skipped) {
  return Collect(kBom, qsizetype(skipped.size()) + 1, ReportRows(rows, skipped));
}

QByteArray SkippedRowsText(const QStringList& missedRows) {
  return Collect({}, missedRows.size(), PlainRows(missedRows));
}

TStatus WriteSkippedReport(const QString& file, const QStringList& rows,
                           const std::vector<TSkippedRecord>& skipped) {
  return WriteStreamed(file, kBom, qsizetype(skipped.size()) + 1, ReportRows(rows, skipped));
}

TStatus WriteSkippedRows(const QString& file, const QStringList& missedRows) {
  return WriteStreamed(file, {}, missedRows.size(), PlainRows(missedRows));
}

}  // namespace krinu
