#include "declaration/return_summary.h"

#include "common/text_util.h"

#include <cmath>

namespace krinu {

namespace {

QString Html(const QString& text) {
  return text.toHtmlEscaped();
}

QString Date(QDate date) {
  return date.toString(QStringLiteral("yyyy. MM. dd."));
}

// Forints with a decimal comma and no grouping, for a spreadsheet.
// Forints with two decimals and a point; never "-0.00".
QString FixedForints(double value) {
  if (!std::isfinite(value)) return QStringLiteral("0.00");
  const QString text = QString::number(value, 'f', 2);
  return text == QStringLiteral("-0.00") ? QStringLiteral("0.00") : text;
}

QString CsvForints(double value) {
  return FixedForints(value).replace(u'.', u',');
}

QString Grouped(QString digits) {
  const bool negative = digits.startsWith(u'-');
  if (negative) digits.remove(0, 1);
  for (qsizetype at = digits.size() - 3; at > 0; at -= 3) digits.insert(at, u' ');
  return negative ? u'-' + digits : digits;
}

}  // namespace

TSummaryTotals SummaryTotals(const TReturn& r) {
  TSummaryTotals t;
  for (const TPartnerSheet& sheet : r.Sheets) {
    t.Rows += sheet.RowCount;
    t.Pages += sheet.Pages;
    t.SumAlap += sheet.SumAlap;
    t.SumAfa += sheet.SumAfa;
    t.SumAlapFt += sheet.SumAlapFt;
    t.SumAfaFt += sheet.SumAfaFt;
  }
  return t;
}

QString HungarianNumber(qint64 value) {
  return Grouped(QString::number(value));
}

QString HungarianForints(double value) {
  const QString text = FixedForints(value);
  const qsizetype dot = text.indexOf(u'.');
  return Grouped(text.left(dot)) + u',' + text.mid(dot + 1);
}

QString WrittenUnit(const TReturn& r) {
  return r.Layout->AmountUnit == 1 ? QStringLiteral("forint") : QStringLiteral("ezer forint");
}

QString FormIdentifier(const TReturn& r) {
  return r.Params.YearDigits + QStringLiteral("65A");
}

QString LineStatusText(const TAFAAdat& line) {
  if (line.Enabled)
    return line.Status == TAFAAdatStatus::stAFAComp ? QStringLiteral("bevallásban (összevont)")
                                                    : QStringLiteral("bevallásban");
  if (line.Status == TAFAAdatStatus::stAFAPair) return QStringLiteral("összevonva");
  return QStringLiteral("kizárva");
}

QByteArray SummaryCsv(const TReturn& r) {
  QString text = QStringLiteral("Adószám;Név;Tételek;Nettó;ÁFA;Nettó Ft;ÁFA Ft;Lapok\r\n");
  for (const TPartnerSheet& sheet : r.Sheets) {
    text += CsvCell(SpreadsheetSafe(sheet.Azonosito)) + u';' +
            CsvCell(SpreadsheetSafe(sheet.Megnevezes)) + u';' + QString::number(sheet.RowCount) +
            u';' + QString::number(sheet.SumAlap) + u';' + QString::number(sheet.SumAfa) + u';' +
            CsvForints(sheet.SumAlapFt) + u';' + CsvForints(sheet.SumAfaFt) + u';' +
            QString::number(sheet.Pages) + QStringLiteral("\r\n");
  }
  return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QString SummaryHeadHtml(const TReturnSummary& s) {
  const TReturn& r = *s.Return;
  QString html = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\">\n");
  const auto line = [&](const QString& name, const QString& value) {
    html += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>\n").arg(name, value);
  };
  line(QStringLiteral("Adózó:"),
       Html(r.Taxpayer.Nev) + QStringLiteral(" (") + Html(r.Taxpayer.Adoszam) + u')');
  line(QStringLiteral("Ügyintéző:"),
       Html(r.Administrator.Nev) + QStringLiteral(", ") + Html(r.Administrator.Telefon));
  line(QStringLiteral("Időszak:"),
       Date(r.Params.PeriodStart) + QStringLiteral(" – ") + Date(r.Params.PeriodEnd));
  line(QStringLiteral("Nyomtatvány:"),
       FormIdentifier(r) + QStringLiteral(", verzió ") + Html(r.Params.FormVersion) +
           QStringLiteral(", összegek ") + WrittenUnit(r) + QStringLiteral("ban"));
  if (!s.XmlFileName.isEmpty())
    line(QStringLiteral("XML fájl:"),
         Html(s.XmlFileName) +
             (s.XmlBytes >= 0
                  ? QStringLiteral(" (") + HungarianNumber(s.XmlBytes) + QStringLiteral(" bájt)")
                  : QString()));
  if (s.RunTime.isValid())
    line(QStringLiteral("Készült:"),
         s.RunTime.toLocalTime().toString(QStringLiteral("yyyy. MM. dd. HH:mm:ss")));
  line(QStringLiteral("Főlap (65A):"),
       QStringLiteral("bankszámla ") + Html(r.Taxpayer.Szamlaszam1) + u'-' +
           Html(r.Taxpayer.Szamlaszam2) + QStringLiteral(", ") + Html(r.Taxpayer.Bank));
  line(QStringLiteral("Partnerlapok (65M):"), HungarianNumber(qint64(r.Sheets.size())));
  return html + QStringLiteral("</table>\n");
}

QString SummaryAccountingHtml(const TReturnSummary& s) {
  const TReturnCounts& c = s.Return->Counts;
  QString html = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\">\n");
  const auto line = [&](const QString& name, qint64 value) {
    html += QStringLiteral("<tr><td>%1</td><td align=\"right\">%2</td></tr>\n")
                .arg(name, HungarianNumber(value));
  };
  line(QStringLiteral("Betöltött tételek"), s.LoadedLines);
  line(QStringLiteral("Betöltéskor kihagyott adatsorok"), s.SkippedLines);
  line(QStringLiteral("Összevont bizonylatok"), c.Combinations);
  line(QStringLiteral("Összevont tételek"), c.CombinedLines);
  line(QStringLiteral("Negatív összeg miatt kizárt tételek"), c.NegativeLines);
  line(QStringLiteral("'0'-s tételként kizárt tételek"), c.ZeroLines);
  line(QStringLiteral("Bevallásba került tételek"), c.IncludedLines);
  line(QStringLiteral("Ebből az időszakon kívül"), c.OutsidePeriod);
  html += QStringLiteral("</table>\n");
  if (!s.Warnings.isEmpty()) {
    html += QStringLiteral("<p><b>Figyelmeztetések:</b></p>\n<ul>\n");
    for (const QString& warning : s.Warnings)
      html += QStringLiteral("<li>") + Html(warning) + QStringLiteral("</li>\n");
    html += QStringLiteral("</ul>\n");
  }
  return html;
}

namespace {

// The partner table as both copies show it: one row per sheet and a total row.
void PartnerTable(const TReturn& r, TPrintDocument& d) {
  const QString unit = WrittenUnit(r);
  // Widths for the printed page, where the names need the room most.
  d.Columns = {{QStringLiteral("Adószám"), 10, false},
               {QStringLiteral("Név"), 25, false},
               {QStringLiteral("Tételek"), 8, true},
               {QStringLiteral("Lapok"), 7, true},
               {QStringLiteral("Nettó (") + unit + u')', 10, true},
               {QStringLiteral("ÁFA (") + unit + u')', 10, true},
               {QStringLiteral("Nettó Ft"), 15, true},
               {QStringLiteral("ÁFA Ft"), 15, true}};
  d.Rows.reserve(r.Sheets.size() + 1);
  for (const TPartnerSheet& sheet : r.Sheets)
    d.Rows.push_back({sheet.Azonosito, sheet.Megnevezes, HungarianNumber(sheet.RowCount),
                      HungarianNumber(sheet.Pages), HungarianNumber(sheet.SumAlap),
                      HungarianNumber(sheet.SumAfa), HungarianForints(sheet.SumAlapFt),
                      HungarianForints(sheet.SumAfaFt)});
  const TSummaryTotals t = SummaryTotals(r);
  d.Rows.push_back({QString(), QStringLiteral("Összesen"), HungarianNumber(t.Rows),
                    HungarianNumber(t.Pages), HungarianNumber(t.SumAlap), HungarianNumber(t.SumAfa),
                    HungarianForints(t.SumAlapFt), HungarianForints(t.SumAfaFt)});
  d.LastRowBold = true;
}

}  // namespace

TPrintDocument SummaryPrintDocument(const TReturnSummary& s) {
  TPrintDocument d;
  d.Title = QStringLiteral("Bevallás összesítő");
  d.Before = QStringLiteral("<h2>Bevallás összesítő</h2>\n") + SummaryHeadHtml(s);
  d.TableTitle = QStringLiteral("Partnerlapok");
  PartnerTable(*s.Return, d);
  d.After = QStringLiteral("<h3>A tételek sorsa</h3>\n") + SummaryAccountingHtml(s);
  return d;
}

QString SummaryHtml(const TReturnSummary& s) {
  TPrintDocument d;
  PartnerTable(*s.Return, d);
  QString html = QStringLiteral(
      "<!DOCTYPE html>\n<html lang=\"hu\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<title>Bevallás összesítő</title>\n<style>\n"
      "body { font-family: sans-serif; font-size: 10pt; }\n"
      "table.lapok { border-collapse: collapse; }\n"
      "table.lapok th, table.lapok td { border: 1px solid #999; padding: 2px 4px; }\n"
      "td.n { text-align: right; white-space: nowrap; }\n"
      "tr.total td { font-weight: bold; }\n"
      "</style>\n</head>\n<body>\n<h2>Bevallás összesítő</h2>\n");
  html += SummaryHeadHtml(s);
  html += QStringLiteral("<h3>Partnerlapok</h3>\n<table class=\"lapok\">\n<tr>");
  for (const TPrintColumn& column : d.Columns)
    html += QStringLiteral("<th>") + Html(column.Caption) + QStringLiteral("</th>");
  html += QStringLiteral("</tr>\n");
  for (std::size_t r = 0; r < d.Rows.size(); ++r) {
    html +=
        r + 1 == d.Rows.size() ? QStringLiteral("<tr class=\"total\">") : QStringLiteral("<tr>");
    for (std::size_t c = 0; c < d.Columns.size(); ++c)
      html += (d.Columns[c].Number ? QStringLiteral("<td class=\"n\">") : QStringLiteral("<td>")) +
              Html(d.Rows[r].value(qsizetype(c))) + QStringLiteral("</td>");
    html += QStringLiteral("</tr>\n");
  }
  html += QStringLiteral("</table>\n<h3>A tételek sorsa</h3>\n");
  html += SummaryAccountingHtml(s);
  return html + QStringLiteral("</body>\n</html>\n");
}

}  // namespace krinu
