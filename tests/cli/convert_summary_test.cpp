// The summary of a return, as krinu-cli writes it beside the XML: its rows are the XML's
// partner sheets, and asking for it changes nothing else.

#include <QRegularExpression>

#include "convert_fixture.h"
#include "declaration/return_summary.h"

namespace krinu::cli {
namespace {

// Per partner sheet of the XML: number, name, rows, net and VAT totals as written.
QStringList SheetsOfXml(const QByteArray& xml) {
  QStringList sheets;
  const QString text = QString::fromUtf8(xml);
  const QRegularExpression sheet(
      QStringLiteral("<megnevezes>([^<]*)</megnevezes>\\s*<azonosito>([^<]*)</azonosito>.*?"
                     "\"0A0001E0004BA\">(-?\\d+)</mezo>.*?\"0A0001E0004CA\">(-?\\d+)</mezo>.*?"
                     "\"0A0001E0004DA\">(-?\\d+)</mezo>"),
      QRegularExpression::DotMatchesEverythingOption);
  for (auto it = sheet.globalMatch(text); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    QString name = m.captured(1);
    name.replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    sheets << m.captured(2) + u';' + name + u';' + m.captured(3) + u';' + m.captured(4) + u';' +
                  m.captured(5);
  }
  return sheets;
}

// One CSV row's fields, quotes taken off.
QStringList CsvFields(const QString& row) {
  QStringList fields{QString()};
  bool quoted = false;
  for (qsizetype i = 0; i < row.size(); ++i) {
    const QChar c = row[i];
    if (quoted && c == u'"' && i + 1 < row.size() && row[i + 1] == u'"') {
      fields.last() += c;
      ++i;
    } else if (c == u'"') {
      quoted = !quoted;
    } else if (c == u';' && !quoted) {
      fields << QString();
    } else {
      fields.last() += c;
    }
  }
  return fields;
}

TEST_F(ConvertTest, TheSummaryCsvHoldsTheXmlsSheetsAndChangesNothingElse) {
  const QStringList period{"--from", "2024-11-01", "--to", "2024-11-30"};
  const CliRun plain = Convert(QStringList{"--out", "a.xml", "--log", "a.log"} + period);
  ASSERT_EQ(plain.Status, kOk) << plain.Err.toStdString();
  const CliRun with =
      Convert(QStringList{"--out", "b.xml", "--log", "b.log", "--summary", "b.csv"} + period);
  ASSERT_EQ(with.Status, kOk) << with.Err.toStdString();
  EXPECT_EQ(Read("b.xml"), Read("a.xml"));
  QByteArray log = Read("b.log");
  EXPECT_EQ(log.replace("b.xml", "a.xml"), Read("a.log"));

  const QByteArray csv = Read("b.csv");
  ASSERT_TRUE(csv.startsWith("\xEF\xBB\xBF"));
  QStringList rows = QString::fromUtf8(csv.mid(3)).split(QStringLiteral("\r\n"));
  ASSERT_EQ(rows.takeLast(), QString());
  EXPECT_EQ(rows.takeFirst(), "Adószám;Név;Tételek;Nettó;ÁFA;Nettó Ft;ÁFA Ft;Lapok");
  QStringList fromCsv;
  for (const QString& row : rows) {
    const QStringList f = CsvFields(row);
    ASSERT_EQ(f.size(), 8) << row.toStdString();
    EXPECT_TRUE(f[5].contains(u',') && f[6].contains(u',')) << row.toStdString();
    fromCsv << QStringList(f.mid(0, 5)).join(u';');
  }
  const QStringList fromXml = SheetsOfXml(Read("b.xml"));
  EXPECT_GT(fromXml.size(), 10);
  EXPECT_EQ(fromCsv, fromXml);

  // A summary in another format is refused before anything runs; a failed run writes none.
  EXPECT_EQ(Convert(QStringList{"--out", "c.xml", "--summary", "c.txt"}).Status, kUsage);
  EXPECT_EQ(Convert(QStringList{"--out", "d.xml", "--taxpayer", "1", "--summary", "d.csv"}).Status,
            kFailed);
  EXPECT_FALSE(QFile::exists(Path("d.csv")));
  // The HTML copy reads as the window does: the partner count and the total row.
  ASSERT_EQ(Convert(QStringList{"--out", "e.xml", "--summary", "e.html"} + period).Status, kOk);
  const QString html = QString::fromUtf8(Read("e.html"));
  EXPECT_TRUE(html.contains(QStringLiteral("<b>Partnerlapok (65M):</b></td><td>") +
                            QString::number(rows.size())));
  EXPECT_TRUE(html.contains(QStringLiteral("<tr class=\"total\"><td></td><td>Összesen</td>")));
  // The findings beyond the checks stand beside the accounting: the example's partners with
  // a wrong check digit.
  EXPECT_TRUE(html.contains(QStringLiteral("<b>Figyelmeztetések:</b>")));
}

TEST(SummaryNumbers, GroupedByThousandsWithADecimalComma) {
  EXPECT_EQ(HungarianNumber(0), "0");
  EXPECT_EQ(HungarianNumber(999), "999");
  EXPECT_EQ(HungarianNumber(-1234567), "-1 234 567");
  EXPECT_EQ(HungarianForints(1234.5), "1 234,50");
  EXPECT_EQ(HungarianForints(-0.001), "0,00");
  EXPECT_EQ(HungarianForints(-1000000.125), "-1 000 000,13");
}

TEST(SummaryCsv, QuotesNamesThatHoldTheSeparatorOrAQuote) {
  TAFAAdatList lines;
  for (const char* name : {"Egy; Kettő Kft", "\"Idézett\" Bt", "Sima Zrt"}) {
    TAFAAdat line;
    line.Adoszam = QString::number(10000000 + lines.size());
    line.Megnevezes = QString::fromUtf8(name);
    line.AFAAlap = -1500.5;
    line.AFA = -405;
    line.Enabled = true;
    lines.push_back(line);
  }
  const TReturn r =
      BuildReturn({}, {}, DeclarationParams(QDate(2025, 1, 1), QDate(2025, 1, 31), {}), lines,
                  {"10000000", "10000001", "10000002"});
  EXPECT_EQ(QString::fromUtf8(SummaryCsv(r).mid(3)),
            "Adószám;Név;Tételek;Nettó;ÁFA;Nettó Ft;ÁFA Ft;Lapok\r\n"
            "10000000;\"Egy; Kettő Kft\";1;-1501;-405;-1500,50;-405,00;1\r\n"
            "10000001;\"\"\"Idézett\"\" Bt\";1;-1501;-405;-1500,50;-405,00;1\r\n"
            "10000002;Sima Zrt;1;-1501;-405;-1500,50;-405,00;1\r\n");
}

}  // namespace
}  // namespace krinu::cli
