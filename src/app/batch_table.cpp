#include "app/batch_table.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>

#include "app/output_files.h"
#include "app/summary_form.h"
#include "common/atomic_write.h"
#include "common/text_util.h"
#include "declaration/declaration_run.h"
#include "declaration/return_summary.h"

namespace krinu {

namespace {

const QStringList& Columns() {
  static const QStringList columns{QStringLiteral("Állapot"),
                                   QStringLiteral("Adószám"),
                                   QStringLiteral("Adózó"),
                                   QStringLiteral("Kezdete"),
                                   QStringLiteral("Vége"),
                                   QStringLiteral("Bemenet"),
                                   QStringLiteral("Betöltött"),
                                   QStringLiteral("Kihagyott"),
                                   QStringLiteral("Bevallásba került"),
                                   QStringLiteral("Időszakon kívül"),
                                   QStringLiteral("Partnerek"),
                                   QStringLiteral("Nettó"),
                                   QStringLiteral("ÁFA"),
                                   QStringLiteral("Figyelmeztetések"),
                                   QStringLiteral("XML"),
                                   QStringLiteral("Napló"),
                                   QStringLiteral("Összesítő"),
                                   QStringLiteral("Hiba")};
  return columns;
}

QString Count(qint64 n) {
  return n < 0 ? QString() : QString::number(n);
}

// The cells of a row, as plain text; numbers as plain digits.
QStringList Cells(const TBatchResult& r) {
  const bool written = r.Partners >= 0;
  return {BatchStatusText(r),
          r.Adoszam,
          r.Nev,
          r.From,
          r.To,
          QDir::toNativeSeparators(r.Input),
          Count(r.Loaded),
          Count(r.Skipped),
          Count(r.Included),
          Count(r.OutsidePeriod),
          Count(r.Partners),
          written ? QString::number(r.SumAlap) : QString(),
          written ? QString::number(r.SumAfa) : QString(),
          r.Warnings.join(u' '),
          QDir::toNativeSeparators(r.Xml),
          QDir::toNativeSeparators(r.Log),
          QDir::toNativeSeparators(r.Summary),
          r.Error};
}

}  // namespace

QJsonObject TBatchResult::ToJson() const {
  return {{QStringLiteral("ok"), Ok},
          {QStringLiteral("adoszam"), Adoszam},
          {QStringLiteral("nev"), Nev},
          {QStringLiteral("from"), From},
          {QStringLiteral("to"), To},
          {QStringLiteral("input"), Input},
          {QStringLiteral("loaded"), Loaded},
          {QStringLiteral("skipped"), Skipped},
          {QStringLiteral("included"), Included},
          {QStringLiteral("outside"), OutsidePeriod},
          {QStringLiteral("partners"), Partners},
          {QStringLiteral("alap"), SumAlap},
          {QStringLiteral("afa"), SumAfa},
          {QStringLiteral("warnings"), QJsonArray::fromStringList(Warnings)},
          {QStringLiteral("xml"), Xml},
          {QStringLiteral("log"), Log},
          {QStringLiteral("summary"), Summary},
          {QStringLiteral("error"), Error},
          {QStringLiteral("messages"), Messages}};
}

TBatchResult TBatchResult::FromJson(const QJsonObject& o) {
  TBatchResult r;
  r.Ok = o.value(QStringLiteral("ok")).toBool();
  r.Adoszam = o.value(QStringLiteral("adoszam")).toString();
  r.Nev = o.value(QStringLiteral("nev")).toString();
  r.From = o.value(QStringLiteral("from")).toString();
  r.To = o.value(QStringLiteral("to")).toString();
  r.Input = o.value(QStringLiteral("input")).toString();
  r.Loaded = o.value(QStringLiteral("loaded")).toInteger(-1);
  r.Skipped = o.value(QStringLiteral("skipped")).toInteger(-1);
  r.Included = o.value(QStringLiteral("included")).toInteger(-1);
  r.OutsidePeriod = o.value(QStringLiteral("outside")).toInteger(-1);
  r.Partners = o.value(QStringLiteral("partners")).toInteger(-1);
  r.SumAlap = o.value(QStringLiteral("alap")).toInteger();
  r.SumAfa = o.value(QStringLiteral("afa")).toInteger();
  for (const QJsonValue& w : o.value(QStringLiteral("warnings")).toArray())
    r.Warnings << w.toString();
  r.Xml = o.value(QStringLiteral("xml")).toString();
  r.Log = o.value(QStringLiteral("log")).toString();
  r.Summary = o.value(QStringLiteral("summary")).toString();
  r.Error = o.value(QStringLiteral("error")).toString();
  r.Messages = o.value(QStringLiteral("messages")).toString();
  return r;
}

TBatchOutputs BatchOutputsOf(const TBatchRow& row) {
  TBatchOutputs o;
  o.Xml = XmlFileNameFor(row[mcKimenet]);
  o.Log = row[mcNaplo];
  if (o.Log.isEmpty() && !row[mcKimenet].isEmpty()) {
    const QFileInfo xml(o.Xml);
    const bool xmlSuffix = xml.suffix().compare(QStringLiteral("xml"), Qt::CaseInsensitive) == 0;
    o.Log = (xmlSuffix ? o.Xml.left(o.Xml.size() - 4) : o.Xml) + QStringLiteral(".log");
  }
  o.Summary = row[mcOsszesito];
  return o;
}

namespace {

// Two names of one file: compared as cleaned absolute paths (letter case aside where the
// system ignores it); the files need not exist yet.
QString FileKey(const QString& name) {
  const QString path = QDir::cleanPath(QFileInfo(name).absoluteFilePath());
#ifdef Q_OS_WIN
  return path.toCaseFolded();
#else
  return path;
#endif
}

}  // namespace

std::vector<std::optional<QString>> OutputClashes(const std::vector<TBatchRow>& rows,
                                                  const QString& table, const QString& manifest) {
  QHash<QString, QString> inputs, outputs;  // key -> the name as given
  for (const TBatchRow& row : rows)
    if (!row[mcBemenet].isEmpty()) inputs.insert(FileKey(row[mcBemenet]), row[mcBemenet]);
  if (!manifest.isEmpty()) inputs.insert(FileKey(manifest), manifest);
  if (!table.isEmpty()) outputs.insert(FileKey(table), table);
  std::vector<std::optional<QString>> clashes(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    const TBatchOutputs o = BatchOutputsOf(rows[i]);
    std::vector<QString> mine;
    for (const QString& name : {o.Xml, o.Log, o.Summary}) {
      if (name.isEmpty() || rows[i][mcKimenet].isEmpty()) continue;
      const QString key = FileKey(name);
      if (inputs.contains(key)) {
        clashes[i] = OutputIsInputMessage(name);
      } else if (outputs.contains(key)) {
        clashes[i] = OutputsCollideMessage(outputs.value(key), name);
      } else if (std::find(mine.begin(), mine.end(), key) != mine.end()) {
        clashes[i] = OutputsCollideMessage(name, name);
      }
      if (clashes[i]) break;
      mine.push_back(key);
    }
    // A refused row writes nothing, so its names stay free for the rows after it.
    if (!clashes[i])
      for (const QString& key : mine) outputs.insert(key, key);
  }
  return clashes;
}

TBatchResult FailedBatchResult(const TBatchRow& row, const QString& error) {
  TBatchResult r;
  r.Adoszam = row[mcAdoszam];
  r.From = row[mcKezdete];
  r.To = row[mcVege];
  r.Input = row[mcBemenet];
  r.Error = error;
  return r;
}

bool SameFileName(const QString& a, const QString& b) {
  return FileKey(a) == FileKey(b);
}

void RunBatchRows(const std::vector<TBatchRow>& rows,
                  const std::vector<std::optional<QString>>& clashes,
                  const std::function<TBatchResult(const TBatchRow&)>& runRow,
                  const std::function<bool(qsizetype, const TBatchResult&)>& onResult) {
  for (size_t i = 0; i < rows.size(); ++i) {
    const TBatchResult r = clashes[i] ? FailedBatchResult(rows[i], *clashes[i]) : runRow(rows[i]);
    if (!onResult(qsizetype(i), r)) return;
  }
}

void CountJob(const TJob& job, TBatchResult& result) {
  if (job.Stage >= TInputStage::ContentChecked || job.LoadedLines > 0) {
    result.Loaded = job.LoadedLines;
    result.Skipped = job.MissedRows.size();
  }
  const TReturnSummary summary = SummaryOf(job);
  result.Warnings = summary.Warnings;
  if (!summary.Return || job.Run.LastWrittenXml.isEmpty()) return;
  const TReturn& r = *summary.Return;
  result.Included = r.Counts.IncludedLines;
  result.OutsidePeriod = r.Counts.OutsidePeriod;
  result.Partners = qint64(r.Sheets.size());
  const TSummaryTotals totals = SummaryTotals(r);
  result.SumAlap = totals.SumAlap;
  result.SumAfa = totals.SumAfa;
  result.Xml = job.Run.LastWrittenXml;
}

QString TaxpayerName(const TSession& session, const QString& adoszam) {
  for (int i = 0; i < session.AdozokList.Count(); ++i)
    if (session.AdozokList.Object(i)->Adoszam == adoszam) return session.AdozokList.Object(i)->Nev;
  return {};
}

QString BatchStatusText(const TBatchResult& r) {
  return r.Ok ? QStringLiteral("kész") : QStringLiteral("hiba");
}

QString BatchProgressLine(qsizetype number, qsizetype total, const TBatchResult& r) {
  QString line = QStringLiteral("[%1/%2] ").arg(number).arg(total) + r.Adoszam;
  if (!r.Nev.isEmpty()) line += u' ' + r.Nev;
  line += QStringLiteral(" … ");
  if (r.Ok) return line + QStringLiteral("kész, %1 partner").arg(r.Partners);
  return line + QStringLiteral("hiba: ") + r.Error.section(u'\n', 0, 0);
}

QByteArray BatchTableCsv(const std::vector<TBatchResult>& results) {
  QString text = Columns().join(u';') + QStringLiteral("\r\n");
  for (const TBatchResult& r : results) {
    QStringList cells = Cells(r);
    for (QString& cell : cells) cell = CsvCell(SpreadsheetSafe(cell));
    text += cells.join(u';') + QStringLiteral("\r\n");
  }
  return QByteArray("\xEF\xBB\xBF") + Utf8WithReplacement(text);
}

QByteArray BatchTableHtml(const std::vector<TBatchResult>& results) {
  QString html = QStringLiteral(
      "<!DOCTYPE html>\n<html lang=\"hu\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<title>Kötegelt feldolgozás</title>\n<style>\n"
      "body { font-family: sans-serif; font-size: 10pt; }\n"
      "table { border-collapse: collapse; }\n"
      "th, td { border: 1px solid #999; padding: 2px 4px; vertical-align: top; }\n"
      "tr.hiba td { background: #fde8e8; }\n"
      "</style>\n</head>\n<body>\n<h2>Kötegelt feldolgozás</h2>\n<table>\n<tr>");
  for (const QString& column : Columns())
    html += QStringLiteral("<th>") + column.toHtmlEscaped() + QStringLiteral("</th>");
  html += QStringLiteral("</tr>\n");
  for (const TBatchResult& r : results) {
    html += r.Ok ? QStringLiteral("<tr>") : QStringLiteral("<tr class=\"hiba\">");
    for (const QString& cell : Cells(r))
      html += QStringLiteral("<td>") + cell.toHtmlEscaped().replace(u'\n', QStringLiteral("<br>")) +
              QStringLiteral("</td>");
    html += QStringLiteral("</tr>\n");
  }
  html += QStringLiteral("</table>\n</body>\n</html>\n");
  return Utf8WithReplacement(html);
}

bool BatchTableFormatKnown(const QString& file) {
  const QString suffix = QFileInfo(file).suffix().toLower();
  return suffix == QStringLiteral("csv") || suffix == QStringLiteral("html") ||
         suffix == QStringLiteral("htm");
}

TStatus WriteBatchTable(const QString& file, const std::vector<TBatchResult>& results) {
  const bool csv = QFileInfo(file).suffix().toLower() == QStringLiteral("csv");
  const QByteArray bytes = csv ? BatchTableCsv(results) : BatchTableHtml(results);
  if (const std::optional<QString> reason = WriteFileAtomically(file, bytes))
    return Fail(TFailureKind::Access, QStringLiteral("Nem sikerült a(z) \"%1\" fájl írása: %2")
                                          .arg(QDir::toNativeSeparators(file), *reason));
  return {};
}

}  // namespace krinu
