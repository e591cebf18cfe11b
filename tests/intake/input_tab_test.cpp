#include <gtest/gtest.h>

#include <QDir>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "app/main_form.h"
#include "support/foreign_writer.h"
#include "support/scripted_ui.h"
#include "support/test_env.h"
#include "support/test_main_form.h"
#include "support/windows_encoding.h"

namespace krinu {
namespace {

const QString kAnalysisFailed = QStringLiteral(
    "Nem sikerült feltérképezni az input fájl szerkezetét\n"
    "Kérem állítsa be a fájl szerkezetének jellemzőit a \"Input Fájl szerkezete\" panelon\n"
    "majd nyomja meg a Input File szerkezetének ellenőrzése gombot");

QString CheckFailed(const QString& m, const QString& article) {
  return QStringLiteral("Probléma lépett fel az input fájl szerkezetét illetően:\n") + m +
         QStringLiteral("\nkérem igazítson a fájl szerkezetének jellemzőin ") + article +
         QStringLiteral(" \"Input Fájl szerkezete\" panelon\nvagy jelöljön ki egy másik fájlt");
}

const QByteArray kInvoices =
    "Adószám;Partner neve;Dátum;Számla szám;Nettó alap;ÁFA összeg\n"
    "12345678-2-42;Kovács és Társa Kft;2026.11.05;SZ-2026/001;100000;27000\n"
    "87654321-1-13;Őrség Űrkutató Bt;2026.11.06;SZ-2026/002;50000;13500\n"
    "11223344-2-05;Fűtőszerelő Ügynökség Zrt;2026.11.07;SZ-2026/003;10000;2700\n";

class InputTabTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qputenv("KRINU_ANSI_CODEPAGE", "1250");
    env.ProgramPath = root.filePath(QStringLiteral("bin/krinu"));
    env.UserProfile = root.path();
    form = std::make_unique<test::TestMainForm>(ui, env);
    form->FormCreate();
    ASSERT_TRUE(ui.Messages.empty());
  }
  QString Write(const QString& name, const QByteArray& bytes) {
    const QString path = root.filePath(name);
    test::WriteFile(path, bytes);
    return path;
  }
  void Choose(const QString& path) {
    ui.Clear();
    ui.OpenFileAnswers.push_back(path);
    form->SelectFileBtnClick();
  }
  // What the structure steps said: the column assignment that follows a passed check may
  // add its own message (this program folder has no settings file, so no header masks).
  QStringList StructureMessages() {
    QStringList texts = ui.Texts();
    texts.removeIf([](const QString& t) {
      return t.startsWith(QStringLiteral("Nem sikerült beazonosítani a szükséges adatokat"));
    });
    return texts;
  }
  bool Enabled(MainPanel p) { return form->State.ControlsOn(p).front()->Enabled; }
  void ExpectPanels(bool szerkezet, bool tartalom, bool betoltes) {
    EXPECT_EQ(Enabled(MainPanel::Szerkezet), szerkezet);
    EXPECT_EQ(Enabled(MainPanel::Tartalom), tartalom);
    EXPECT_EQ(Enabled(MainPanel::Betoltes), betoltes);
    EXPECT_FALSE(form->InputLoaded());
  }

  QTemporaryDir root;
  AppEnvironment env;
  test::ScriptedUserInterface ui;
  std::unique_ptr<test::TestMainForm> form;
};

TEST_F(InputTabTest, CancelledDialogChangesNothing) {
  form->SelectFileBtnClick();
  EXPECT_TRUE(ui.Messages.empty());
  EXPECT_TRUE(form->State.FileNameEd.Text.isEmpty());
  EXPECT_EQ(ui.DialogSpecs.at(0).Title, QStringLiteral("Input File kijelölése (CSV formátum)"));
  ExpectPanels(false, false, false);
}

TEST_F(InputTabTest, PassedCheck) {
  const QString path = Write(QStringLiteral("szamlak.csv"), kInvoices);
  Choose(path);
  EXPECT_TRUE(StructureMessages().isEmpty()) << ui.Texts().join(QLatin1Char('|')).toStdString();
  EXPECT_EQ(form->InputStage(), TMainForm::TInputStage::StructureChecked);
  ExpectPanels(true, true, false);
  const MainFormState& s = form->State;
  EXPECT_EQ(s.FileNameEd.Text, path);
  EXPECT_EQ(s.CodePageLb.Caption, QStringLiteral("UTF-8"));
  EXPECT_EQ(s.CsvSeparatorEd.Text, QStringLiteral(";"));
  EXPECT_TRUE(s.HeaderCbx.Checked);
  EXPECT_EQ(s.ColCountPrevEd.Text, QStringLiteral("6"));
  EXPECT_EQ(s.RowCountPrevEd.Text, QStringLiteral("3"));
  EXPECT_EQ(form->Job().Input.InputLineCount, 4);
  EXPECT_EQ(s.InputDataSG.Cells[0][1], QStringLiteral("Partner neve"));
  EXPECT_EQ(s.InputDataSG.Cells[2][1], QStringLiteral("Őrség Űrkutató Bt"));
  EXPECT_GT(ui.ProgressCalls, 0);
}

TEST_F(InputTabTest, RefusedFiles) {
  // somebody writes the file: refused before any sample is taken
  const QString path = Write(QStringLiteral("locked.csv"), kInvoices);
  {
    const test::ForeignWriter writer(path);
    ASSERT_TRUE(writer.Holding());
    Choose(path);
  }
  EXPECT_EQ(ui.Texts(QStringLiteral("error")),
            QStringList{QStringLiteral(
                "Nem sikerült kizárólagos hozzáférést kapni a kijelölt fájlhoz\n"
                "Kérem ellenőrizze, nem tartja-e nyitva a fájlt valamely másik alkalmazás\n"
                "Ha sikerült szabaddá tennie a fájlt, jelölje ki újra input fájlként")});
  EXPECT_EQ(form->State.FileNameEd.Text, path);
  EXPECT_EQ(form->State.CodePageLb.Caption, QStringLiteral("?"));
  ExpectPanels(false, false, false);
  EXPECT_EQ(form->InputStage(), TMainForm::TInputStage::FileChosen);
  EXPECT_FALSE(form->State.SzerkezetPanelTitle.Enabled);

  // UTF-16 big endian
  QByteArray be("\xFE\xFF");
  for (char c : QByteArray("a;b;c;d;e;f\n")) be.append('\0').append(c);
  Choose(Write(QStringLiteral("be.csv"), be));
  EXPECT_EQ(ui.Texts(QStringLiteral("error")),
            QStringList{QStringLiteral("Sajnos az input fájl kód-táblája nem támogatott\n"
                                       "Kérem készítsen/kérjen új input fájlt.\n"
                                       "Támogatott kód táblák: Windows alapértelmezett, UTF8, "
                                       "UTF16(little endien)")});
  EXPECT_EQ(form->State.CodePageLb.Caption, QStringLiteral("UTF-16 (big    endien)"));
  ExpectPanels(false, false, false);
}

TEST_F(InputTabTest, EmptyAndTooLarge) {
  Choose(Write(QStringLiteral("empty.csv"), QByteArray()));
  EXPECT_EQ(ui.Texts(), QStringList{QStringLiteral("Az input fájl üres, jelöljön ki egy másikat")});
  ExpectPanels(true, false, false);
  EXPECT_EQ(form->InputStage(), TMainForm::TInputStage::FileChosen);

  const QByteArray line = "x1;x2;x3;x4;x5;x6\n";
  Choose(Write(QStringLiteral("max.csv"), "A;B;C;D;E;F\n" + line.repeated(999999)));
  EXPECT_TRUE(StructureMessages().isEmpty()) << ui.Texts().join(QLatin1Char('|')).toStdString();
  EXPECT_EQ(form->Job().Input.InputLineCount, 1000000);
  ExpectPanels(true, true, false);

  Choose(Write(QStringLiteral("big.csv"), "A;B;C;D;E;F\n" + line.repeated(1000000)));
  EXPECT_EQ(ui.Texts(),
            QStringList{QStringLiteral("Az input fájl túl nagy\n"
                                       "maximum 1 millió sort képes a program feldolgozni\n"
                                       "kérem jelöljön ki egy másik fájlt")});
  EXPECT_EQ(form->Job().Input.InputLineCount, 1000001);
  ExpectPanels(true, false, false);
}

TEST_F(InputTabTest, FailedAnalysisThenManualStructure) {
  // two commas only: no vote, the separator stays "?"
  const QString path = Write(QStringLiteral("commas.csv"), "a,b,c\n1|2|3|4|5|6\n7|8|9|0|1|2\n");
  Choose(path);
  EXPECT_EQ(ui.Texts(), QStringList{kAnalysisFailed});
  EXPECT_EQ(form->InputStage(), TMainForm::TInputStage::FileChosen);
  EXPECT_TRUE(form->State.SzerkezetPanelTitle.Enabled);
  ExpectPanels(true, false, false);

  // the user sets the separator: the check reads "a,b,c" as one field of a 1-field file
  form->State.CsvSeparatorEd.Text = QStringLiteral("|");
  ui.Clear();
  form->SzerkezetCheckBtnClick();
  ASSERT_EQ(ui.Messages.size(), 1u);
  EXPECT_EQ(ui.Messages[0].Text,
            CheckFailed(QStringLiteral("Túl kevés oszlopot tudtam beazonosítani az input fájlban, "
                                       "minimum 6 adatra szükség van"),
                        QStringLiteral("a")));
  ExpectPanels(true, false, false);

  test::WriteFile(path, "1|2|3|4|5|6\n7|8|9|0|1|2\n");
  ui.Clear();
  form->SzerkezetCheckBtnClick();
  EXPECT_TRUE(StructureMessages().isEmpty());
  ExpectPanels(true, true, false);
  EXPECT_EQ(form->State.RowCountPrevEd.Text, QStringLiteral("2"));
}

TEST_F(InputTabTest, FailedCheckAndSecondFileKeepsStructure) {
  Choose(Write(QStringLiteral("five.csv"), "a;b;c;d;e\nf;g;h;i;j\n"));
  EXPECT_EQ(ui.Texts(), QStringList{CheckFailed(
                            QStringLiteral("Túl kevés oszlopot tudtam beazonosítani az input "
                                           "fájlban, minimum 6 adatra szükség van"),
                            QStringLiteral("a(z)"))});
  EXPECT_EQ(form->InputStage(), TMainForm::TInputStage::FileChosen);
  EXPECT_TRUE(form->State.SzerkezetPanelTitle.Enabled);
  ExpectPanels(true, false, false);

  // a good first file, then one whose first line votes for nothing and whose second line
  // is empty: the separator "," and the header flag of the first file carry over
  Choose(Write(QStringLiteral("first.csv"),
               "Adoszam,Nev,Datum,Szam,Netto,Afa\n1,Kiss Bt,2026.11.05,A1,100,27\n"));
  ASSERT_TRUE(StructureMessages().isEmpty());
  EXPECT_EQ(form->State.CsvSeparatorEd.Text, QStringLiteral(","));
  EXPECT_TRUE(form->State.HeaderCbx.Checked);
  Choose(Write(QStringLiteral("second.csv"), "a;b;c;d;e;f,g,h,i,j,k\n\n1,2,3,4,5,6\n"));
  EXPECT_TRUE(StructureMessages().isEmpty()) << ui.Texts().join(QLatin1Char('|')).toStdString();
  EXPECT_EQ(form->State.CsvSeparatorEd.Text, QStringLiteral(","));
  EXPECT_TRUE(form->State.HeaderCbx.Checked);
  EXPECT_EQ(form->State.InputDataSG.Cells[0][0], QStringLiteral("a;b;c;d;e;f"));
  ExpectPanels(true, true, false);
}

TEST_F(InputTabTest, SameInvoicesInEveryEncodingPreviewAlike) {
  const QString utf8 = Write(QStringLiteral("utf8.csv"), kInvoices);
  const QString bom = Write(QStringLiteral("bom.csv"), "\xEF\xBB\xBF" + kInvoices);
  const QString text = QString::fromUtf8(kInvoices);
  const QString ansi = Write(QStringLiteral("ansi.csv"), test::EncodeWindows(text, 1250));
  QStringEncoder toUtf16(QStringEncoder::Utf16LE);
  const QString utf16 = Write(QStringLiteral("utf16.csv"), "\xFF\xFE" + QByteArray(toUtf16(text)));

  QVector<QStringList> expected;
  const struct {
    QString path;
    QString codePage;
  } files[] = {{ansi, QStringLiteral("Windows alapértelmezett")},
               {utf8, QStringLiteral("UTF-8")},
               {bom, QStringLiteral("UTF-8")},
               {utf16, QStringLiteral("UTF-16 (little endien)")}};
  for (const auto& f : files) {
    Choose(f.path);
    EXPECT_TRUE(StructureMessages().isEmpty()) << f.path.toStdString();
    EXPECT_EQ(form->State.CodePageLb.Caption, f.codePage);
    EXPECT_EQ(form->State.RowCountPrevEd.Text, QStringLiteral("3"));
    if (expected.isEmpty()) expected = form->State.InputDataSG.Cells;
    EXPECT_EQ(form->State.InputDataSG.Cells, expected) << f.path.toStdString();
  }
  EXPECT_EQ(expected[0][0], QStringLiteral("Adószám"));
  EXPECT_EQ(expected[2][1], QStringLiteral("Őrség Űrkutató Bt"));
  EXPECT_EQ(expected[3][1], QStringLiteral("Fűtőszerelő Ügynökség Zrt"));
}

}  // namespace
}  // namespace krinu
