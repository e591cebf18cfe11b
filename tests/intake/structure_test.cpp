#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app/controls.h"
#include "intake/structure.h"
#include "support/test_env.h"

namespace krinu {
namespace {

TEST(LetterRatio, SharesOfLetters) {
  const QString semi = QStringLiteral(";");
  EXPECT_EQ(LetterRatio(QStringLiteral("  \t\x01 "), semi), -1);
  EXPECT_EQ(LetterRatio(QStringLiteral(";;"), semi), 0);
  EXPECT_DOUBLE_EQ(LetterRatio(QStringLiteral("abcd;12"), semi), 0.5);  // (1 + 0) / 2
  EXPECT_DOUBLE_EQ(LetterRatio(QStringLiteral(" Őű1;;\"é\" "), semi), (2.0 / 3 + 1.0 / 3) / 2);
  EXPECT_DOUBLE_EQ(LetterRatio(QStringLiteral("ab;cd"), QStringLiteral(",")), 0.8);  // one piece
  EXPECT_EQ(CountChar(QLatin1Char(';'), QStringLiteral("a;b;;c")), 3);
}

class AnalyzeTest : public ::testing::Test {
 protected:
  struct Result {
    bool Ok;
    QString Separator;
    bool Header;
    qint32 Lines;
  };
  Result Analyze(const QByteArray& bytes, QString separator = QStringLiteral("?"),
                 bool header = false, quint16 codePage = 0) {
    const QString path = dir.filePath(QStringLiteral("in.csv"));
    test::WriteFile(path, bytes);
    const TStructureGuess g = AnalyzeInputDataStructure(path, codePage, separator, header);
    return {g.Status.Ok(), g.Separator, g.Header, g.LineCount.value_or(-1)};
  }
  QTemporaryDir dir;
};

TEST_F(AnalyzeTest, SeparatorVote) {
  Result r = Analyze("a;b;c;d;e;f\n");  // five semicolons
  EXPECT_TRUE(r.Ok);
  EXPECT_EQ(r.Separator, QStringLiteral(";"));
  EXPECT_EQ(r.Lines, 1);
  EXPECT_FALSE(r.Header);  // one line: the header flag is not touched

  r = Analyze("a,b,c\nd,e,f\n");  // exactly two commas: the edit keeps "?"
  EXPECT_FALSE(r.Ok);
  EXPECT_EQ(r.Separator, QStringLiteral("?"));
  EXPECT_EQ(r.Lines, 2);

  r = Analyze("a,b,c;d;e,f;g\n", QStringLiteral(";"));  // three of each: unchanged
  EXPECT_TRUE(r.Ok);
  EXPECT_EQ(r.Separator, QStringLiteral(";"));
  r = Analyze("a,b,c,d;e;f;g\n", QStringLiteral("x"));
  EXPECT_FALSE(r.Ok);
  EXPECT_EQ(r.Separator, QStringLiteral("x"));
}

TEST_F(AnalyzeTest, HeaderGuess) {
  // words over numbers: header
  Result r =
      Analyze("Adoszam;Nev;Datum;Szam;Netto;Afa\n12345678-2-42;Kiss Bt;2026.11.05;12;100;27\n");
  EXPECT_TRUE(r.Ok);
  EXPECT_TRUE(r.Header);
  // two data lines: no header, even when it was ticked before
  r = Analyze("1;Kiss Bt;2026.11.05;A1;100;27\n2;Nagy Bt;2026.11.06;A2;200;54\n",
              QStringLiteral("?"), true);
  EXPECT_FALSE(r.Header);
  // an empty second line keeps the flag
  r = Analyze("Adoszam;Nev;Datum;Szam;Netto;Afa\n\n1;2;3;4;5;6\n", QStringLiteral("?"), true);
  EXPECT_TRUE(r.Ok);
  EXPECT_TRUE(r.Header);
  EXPECT_EQ(r.Lines, 3);
  // a second line without letters: no quotient, the analysis fails and counts nothing
  r = Analyze("Adoszam;Nev;Datum;Szam;Netto;Afa\n1;2;3;4;5;6\n");
  EXPECT_FALSE(r.Ok);
  EXPECT_EQ(r.Lines, -1);
}

TEST_F(AnalyzeTest, LineRules) {
  EXPECT_EQ(Analyze("").Lines, 0);
  EXPECT_EQ(Analyze("a;b;c;d\r\nx;y;z\r\n").Lines, 2);
  EXPECT_EQ(Analyze("a;b;c;d\nx;y;z").Lines, 2);              // last line without line end
  EXPECT_EQ(Analyze("a;b;c;d\rx;y;z\r").Lines, 1);            // a lone CR ends no line
  EXPECT_EQ(Analyze("a;b;c;d\nx;y\x1A;z\nmore\n").Lines, 2);  // Ctrl-Z ends the text
  EXPECT_EQ(Analyze("a;b;c;d\n\x1A").Lines, 1);
  // a lone CR is dropped: "x\ry" is the letters-only line "xy"
  Result r = Analyze("Aa;Bb;Cc;Dd\n1\r2;3;4;5\n");
  EXPECT_FALSE(r.Ok);  // line 2 without letters
  // UTF-16 LE: line ends are 16-bit units, also across the counting blocks
  QByteArray utf16;
  const QString text = QStringLiteral("a;b;c;d\n").repeated(200000);
  utf16.append("\xFF\xFE");
  utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
  EXPECT_EQ(Analyze(utf16, QStringLiteral("?"), false, 1200).Lines, 200000);
}

TEST_F(AnalyzeTest, CountingStopsAboveTheLimit) {
  const QByteArray line = "x1;x2;x3;x4;x5;x6\n";
  EXPECT_EQ(Analyze(line.repeated(kMaxInputLines)).Lines, kMaxInputLines);
  EXPECT_EQ(Analyze(line.repeated(kMaxInputLines + 5)).Lines, kMaxInputLines + 1);
}

class CheckTest : public ::testing::Test {
 protected:
  bool Check(const QByteArray& bytes, bool header, QString separator = QStringLiteral(";")) {
    settings.InputFileName = dir.filePath(QStringLiteral("in.csv"));
    test::WriteFile(settings.InputFileName, bytes);
    return Run(separator, header);
  }
  // Shows the result as the structure panel does.
  bool Run(const QString& separator, bool header) {
    settings.InputSeparatorChar = separator.isEmpty() ? QChar() : separator.at(0);
    settings.HeaderPresent = header;
    const TStructureCheck r = CheckInputDataStructure(settings);
    message = r.Status.Message();
    static_cast<TPreviewGrid&>(grid) = r.Preview;
    if (r.FieldCount) cols.Text = QString::number(*r.FieldCount);
    if (r.RowCount) rows.Text = QString::number(*r.RowCount);
    return r.Status.Ok();
  }
  static QByteArray Fields(int n, const QByteArray& value = "v") {
    QByteArrayList parts;
    for (int i = 0; i < n; ++i) parts << value + QByteArray::number(i);
    return parts.join(';') + "\n";
  }
  QTemporaryDir dir;
  TInputSettings settings;
  GridControl grid;
  TextControl cols, rows;
  QString message;
};

TEST_F(CheckTest, FieldLimits) {
  EXPECT_FALSE(Check(Fields(5), false));
  EXPECT_EQ(message, QStringLiteral("Túl kevés oszlopot tudtam beazonosítani az input fájlban, "
                                    "minimum 6 adatra szükség van"));
  EXPECT_EQ(cols.Text, QStringLiteral("5"));
  EXPECT_TRUE(Check(Fields(6), false));
  EXPECT_TRUE(Check(Fields(600), false));
  EXPECT_EQ(grid.ColCount, 600);
  EXPECT_FALSE(Check(Fields(601), false));
  EXPECT_EQ(
      message,
      QStringLiteral("Túl sok oszlopot találtam az input fájlban, maximum 600-at tudok kezelni"));
}

TEST_F(CheckTest, PreviewRows) {
  // header only
  EXPECT_FALSE(Check(Fields(6, "h"), true));
  EXPECT_EQ(message, QStringLiteral("Üres az input file (egyetlen \"Fejrovat\" sorból áll)"));
  EXPECT_EQ(rows.Text, QStringLiteral("0"));
  // one data line
  EXPECT_TRUE(Check(Fields(6, "h") + Fields(6, "d"), true));
  EXPECT_EQ(rows.Text, QStringLiteral("1"));
  EXPECT_EQ(grid.FixedRows, 1);
  EXPECT_EQ(grid.RowCount, 2);
  EXPECT_EQ(grid.Cells[0][2], QStringLiteral("h2"));
  EXPECT_EQ(grid.Cells[1][5], QStringLiteral("d5"));

  // 25 data lines show 10; a bad line after the tenth is never read
  QByteArray many = Fields(6, "h");
  for (int i = 0; i < 25; ++i) many += Fields(6, "row" + QByteArray::number(i) + "_");
  many += "broken\n";
  EXPECT_TRUE(Check(many, true)) << message.toStdString();
  EXPECT_EQ(rows.Text, QStringLiteral("10"));
  EXPECT_EQ(grid.RowCount, 11);
  EXPECT_EQ(grid.Cells[10][0], QStringLiteral("row9_0"));
  EXPECT_EQ(grid.ColWidths[0], 6);

  // without a header the first record is row 0; blank lines are skipped, not counted
  EXPECT_TRUE(Check(Fields(6, "a") + "\n\n" + Fields(6, "b"), false));
  EXPECT_EQ(grid.FixedRows, 0);
  EXPECT_EQ(grid.RowCount, 2);
  EXPECT_EQ(grid.Cells[1][0], QStringLiteral("b0"));
  EXPECT_EQ(rows.Text, QStringLiteral("2"));
}

TEST_F(CheckTest, RowsReadBeforeAFailureStayInThePreview) {
  EXPECT_FALSE(Check(Fields(6, "h") + Fields(6, "a") + Fields(6, "b") + "1;2;3\n", true));
  EXPECT_EQ(grid.FixedRows, 1);
  EXPECT_EQ(grid.RowCount, 3);  // the header and the two good records
  EXPECT_EQ(grid.Cells[2][0], QStringLiteral("b0"));
}

TEST_F(CheckTest, Failures) {
  // a record among the first ten with another field count: the reader's positioned message
  EXPECT_FALSE(Check(Fields(6, "h") + Fields(6) + "1;2;3\n", true));
  EXPECT_TRUE(message.startsWith(QStringLiteral("Hiba: TqdxCSVFileReader: \r")))
      << message.toStdString();
  // no separator to use
  EXPECT_FALSE(Check(Fields(6), false, QString()));
  EXPECT_TRUE(message.startsWith(QStringLiteral("Hiba: ")));
  // a file that is gone
  settings.InputFileName = dir.filePath(QStringLiteral("gone.csv"));
  EXPECT_FALSE(Run(QStringLiteral(";"), false));
  EXPECT_TRUE(message.startsWith(QStringLiteral("Hiba: ")));
  EXPECT_EQ(grid.RowCount, 1);
  EXPECT_EQ(grid.ColCount, 1);
}

}  // namespace
}  // namespace krinu
