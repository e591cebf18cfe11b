// The content and load panels driven as the window drives them: the automatic chain after
// a file is chosen, the content button, the hidden load button and the viewer.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "app/main_form.h"
#include "app/show_missed_form.h"
#include "content/skipped_report.h"
#include "support/scripted_ui.h"
#include "support/test_env.h"
#include "support/test_main_form.h"

namespace krinu {
namespace {

using Stage = TMainForm::TInputStage;

QByteArray Lines(int n, const QByteArray& tail = {}) {
  QByteArray b =
      "Partner adószáma;Partner neve;Teljesítés dátuma;Számla sorszáma;Nettó összeg;"
      "ÁFA összeg\n";
  for (int i = 0; i < n; ++i)
    b += "12345678-2-42;Kiss Bt;2026.11." + QByteArray::number(10 + i % 18) + ";SZ-" +
         QByteArray::number(i) + ";1.000,00;270,00\n";
  return b + tail;
}

class ContentTabTest : public ::testing::Test {
 protected:
  void SetUp() override {
    env.ProgramPath = test::BinDir() + QStringLiteral("krinu");  // with the shipped krinu.ini
    env.DataDirOverride = root.filePath(QStringLiteral("data"));
    form = std::make_unique<test::TestMainForm>(ui, env);
    form->FormCreate();
    ASSERT_TRUE(ui.Messages.empty());
  }
  void Choose(const QByteArray& bytes) {
    const QString path = root.filePath(QStringLiteral("in%1.csv").arg(++files));
    test::WriteFile(path, bytes);
    ui.Clear();
    ui.OpenFileAnswers.push_back(path);
    form->SelectFileBtnClick();
  }
  bool Enabled(MainPanel p) { return form->State.ControlsOn(p).front()->Enabled; }

  QTemporaryDir root;
  AppEnvironment env;
  test::ScriptedUserInterface ui;
  std::unique_ptr<test::TestMainForm> form;
  int files = 0;
};

TEST_F(ContentTabTest, ChoosingAGoodFileLoadsItAtOnce) {
  Choose(Lines(12, "HU1;Rossz;2026.11.01;X;1,00;0,10\n"));
  MainFormState& s = form->State;
  EXPECT_EQ(form->InputStage(), Stage::Loaded);
  EXPECT_TRUE(form->InputLoaded());
  EXPECT_TRUE(Enabled(MainPanel::Betoltes));
  EXPECT_EQ(s.CsvLoadRowNumEd.Text, QStringLiteral("12"));
  EXPECT_EQ(s.CsvMissedRowNumEd.Text, QStringLiteral("1"));
  EXPECT_TRUE(s.ShowMissedBtn.Enabled);
  EXPECT_EQ(s.AdoszamCheckBBtn.Mark, CheckMark::Passed);
  EXPECT_EQ(s.OsszegCheckBBtn.Mark, CheckMark::Passed);
  EXPECT_EQ(s.AdoszamColCbx.Items.front(), QStringLiteral("Kérem, jelölje ki"));
  EXPECT_EQ(s.AdoszamColCbx.ItemIndex, 1);
  EXPECT_EQ(s.DateFormEd.Text, QStringLiteral("yyyy.mm.dd"));
  EXPECT_EQ(s.DecSepCbx.CurrentText(), QStringLiteral("Vessző"));
  EXPECT_EQ(ui.Texts(QStringLiteral("warning")),
            QStringList{QStringLiteral(
                "Részben sikeres Input Fájl betöltés, \n12 adatsor került betöltésre\n"
                "01 adatsort nem sikerült betölteni\n"
                "Vagy próbáljon módosítani az Input Fájl-on, vagy annak feldolgozásán\n"
                "Vagy lépjen tovább a \"XML ÁFA bevallás készítése\" fülre az NAV bevallás "
                "elkészítéséhez a betöltött adatsorok felhasználásával\n"
                "(Előtte érdemes lehet ellenőrizni, hogy a szükséges input adatelemek (adószám, "
                "megnevezés, ...) beazonosítása valóban megfelelő)")});

  // the viewer shows the skipped row as it stands, beside the record number and reason that
  // the saved report gives it
  TShowMissedForm viewer(ui, form->Job());
  viewer.FormShow();
  const TableControl& table = viewer.State.ShowMissedSG;
  ASSERT_EQ(table.RowCount, 1);
  EXPECT_EQ((QStringList{table.Cell(0, 0), table.Cell(0, 1), table.Cell(0, 2)}),
            (QStringList{"14", "Adószám", "HU1;Rossz;2026.11.01;X;1,00;0,10"}));
  const QString report = root.filePath(QStringLiteral("kihagyott"));
  ui.SaveFileAnswers.push_back(report);
  viewer.MentesBtnClick();
  EXPECT_TRUE(test::ReadFile(report + QStringLiteral(".csv")).contains("14;Adószám;HU1;"));
  viewer.ShowMissedOkBtnClick();
  EXPECT_TRUE(viewer.State.Closed);
}

TEST(SkippedRowsViewer, HeaderClicksSortNumbersAsNumbersAndReasonsInHungarianOrder) {
  TJob job;
  const QList<std::pair<qint64, quint8>> records{
      {2, srDatum}, {9, srAFATooHigh}, {10, srAdoszam | srDatum}, {100, srAFAAlap}, {150, srDatum}};
  for (const auto& [number, reasons] : records) {
    TSkippedRecord record{number, reasons, {}};
    job.MissedRows << SkippedRowOf({QStringLiteral("sor%1").arg(number), "x"}, u';', record);
    job.SkippedRecords.push_back(std::move(record));
  }
  test::ScriptedUserInterface ui;
  TShowMissedForm viewer(ui, job);
  const TableControl& table = viewer.State.ShowMissedSG;
  const auto column = [&](int c) {
    QStringList shown;
    for (qsizetype row = 0; row < table.RowCount; ++row) shown << table.Cell(row, c);
    return shown;
  };
  using L = QStringList;
  viewer.FormShow();
  EXPECT_EQ(column(0), (L{"2", "9", "10", "100", "150"}));
  EXPECT_EQ(std::pair(table.SortColumn, table.Descending), std::pair(0, false));

  viewer.ShowMissedSGHeaderClick(0);  // the same column: the other way round, numerically
  EXPECT_EQ(column(0), (L{"150", "100", "10", "9", "2"}));
  EXPECT_EQ(std::pair(table.SortColumn, table.Descending), std::pair(0, true));
  EXPECT_EQ(column(2), (L{"sor150;x", "sor100;x", "sor10;x", "sor9;x", "sor2;x"}));

  viewer.ShowMissedSGHeaderClick(1);  // another column starts ascending; Á stands beside A
  EXPECT_EQ(column(1), (L{"Adószám, Dátum", "ÁFA > nettó/2", "Dátum", "Dátum", "Nettó összeg"}));
  EXPECT_EQ(column(0), (L{"10", "9", "2", "150", "100"}));  // equal reasons keep file order
  viewer.ShowMissedSGHeaderClick(1);
  EXPECT_EQ(column(0), (L{"100", "2", "150", "9", "10"}));

  viewer.ShowMissedSGHeaderClick(2);  // the rows' own text, character by character
  EXPECT_EQ(column(0), (L{"100", "10", "150", "2", "9"}));  // "sor100;x" < "sor10;x"
  viewer.FormShow();                                        // shown again: file order
  EXPECT_EQ(column(0), (L{"2", "9", "10", "100", "150"}));
}

TEST_F(ContentTabTest, AFailedCheckLeavesTheLoadPanelLockedAndTheButtonRetries) {
  Choose(Lines(3));
  MainFormState& s = form->State;
  ASSERT_EQ(form->InputStage(), Stage::Loaded);
  // a date format that does not fit: the check fails, the load panel is reset and locked
  s.DateFormEd.Text = QStringLiteral("dd.mm.yyyy");
  ui.Clear();
  form->ContentCheckBtnClick();
  EXPECT_EQ(form->InputStage(), Stage::StructureChecked);
  EXPECT_FALSE(form->InputLoaded());
  EXPECT_FALSE(Enabled(MainPanel::Betoltes));
  EXPECT_EQ(s.CsvLoadRowNumEd.Text, QStringLiteral("?"));
  EXPECT_EQ(s.DatumCheckBBtn.Mark, CheckMark::Failed);
  EXPECT_EQ(ui.Texts(QStringLiteral("error")),
            QStringList{QStringLiteral(
                "Az aktuális adat-összerendelés alapján végzett tartalom-ellenőrzés megbukott\n"
                "kérem igazítson az adat-összerendeléseken az \"Input Fájl adatai\" panelon\n"
                "majd nyomja meg a \"Input File adatainak ellenőrzése\" gombot")});
  EXPECT_EQ(ui.ErrorDetails,
            std::vector<QString>{QStringLiteral(
                "Az első hiba: az előnézet 1. sora, 3. oszlop (Bizonylat dátuma): „2026.11.10” "
                "nem dátum a(z) „dd.mm.yyyy” formátum szerint")});
  // corrected: the second load starts from empty lists
  s.DateFormEd.Text = QStringLiteral("yyyy.mm.dd");
  form->ContentCheckBtnClick();
  EXPECT_EQ(form->InputStage(), Stage::Loaded);
  EXPECT_EQ(form->Job().AFAAdatList.size(), 3u);
  EXPECT_FALSE(s.ShowMissedBtn.Enabled);
  // an unassigned column: the identification failure names the captions
  Choose("a;b;c;d;e;f\nx;y;z;u;v;w\n");
  EXPECT_EQ(form->InputStage(), Stage::StructureChecked);
  EXPECT_TRUE(ui.Texts(QStringLiteral("error"))
                  .value(0)
                  .startsWith(QStringLiteral(
                      "Nem sikerült beazonosítani a szükséges adatokat az input fájlban\n\n")));
}

TEST_F(ContentTabTest, AFailedCheckMarksItsCellUntilTheColumnsChangeOrItRunsAgain) {
  Choose(Lines(2, "12345678-2-42;Kiss Bt;2026.11.12;SZ-2;1.000,00;600,00\n"));
  MainFormState& s = form->State;
  ASSERT_EQ(form->InputStage(), Stage::StructureChecked);
  const QString why = QStringLiteral("ÁFA (600,00) nagyobb, mint a nettó érték (1.000,00) fele");
  const QString where = QStringLiteral("előnézet 3. sora, 6. oszlop (ÁFA összeg): az ") + why;
  // the message as before, where to look beside it; the mark and the cell say the same
  EXPECT_TRUE(ui.Texts(QStringLiteral("error")).value(0).endsWith(QStringLiteral("gombot")));
  EXPECT_EQ(ui.ErrorDetails, std::vector<QString>{QStringLiteral("Az első hiba: az ") + where});
  EXPECT_EQ(s.OsszegCheckBBtn.Hint, QString(QStringLiteral("Az ") + where));
  EXPECT_EQ(s.AdoszamCheckBBtn.Mark, CheckMark::Passed);
  EXPECT_EQ(s.AdoszamCheckBBtn.Hint, QString());
  EXPECT_EQ(s.InputDataSG.Marks, (QVector<TCellMark>{{3, 5, QStringLiteral("Az ") + why}}));

  // another column: the mark goes; the check run again marks only what fails now
  s.AFAColCbx.ItemIndex = 5;  // the net column as VAT as well
  form->ColumnCbxChange();
  EXPECT_TRUE(s.InputDataSG.Marks.isEmpty());
  form->ContentCheckBtnClick();
  ASSERT_EQ(s.InputDataSG.Marks.size(), 1);
  EXPECT_EQ(s.InputDataSG.Marks[0].Row, 1);
  EXPECT_EQ(s.InputDataSG.Marks[0].Col, 4);
  // a passing check leaves nothing marked
  s.AFAColCbx.ItemIndex = 6;
  ASSERT_FALSE(form->CheckInputDataContent());
  Choose(Lines(3));
  EXPECT_TRUE(form->InputLoaded());
  EXPECT_TRUE(s.InputDataSG.Marks.isEmpty());
  EXPECT_EQ(s.OsszegCheckBBtn.Hint, QString());
}

TEST_F(ContentTabTest, AnAmbiguousDateColumnOffersTheFormatsThatReadIt) {
  const QByteArray header = Lines(0);
  Choose(header + "12345678-2-42;Kiss Bt;03.04.2026;SZ-1;1.000,00;270,00\n" +
         "12345678-2-42;Kiss Bt;05.06.2026;SZ-2;1.000,00;270,00\n");
  MainFormState& s = form->State;
  // both readings fit, so the detection leaves the date column to the user
  ASSERT_EQ(s.DatumColCbx.ItemIndex, 0);
  EXPECT_TRUE(s.DateFormChoicesBtn.Items.isEmpty());
  EXPECT_EQ(s.DateFormPreviewLb.Caption, QString());
  s.DatumColCbx.ItemIndex = 3;
  form->ColumnCbxChange();
  EXPECT_EQ(s.DateFormChoicesBtn.Items,
            (QStringList{QStringLiteral("dd.mm.yyyy"), QStringLiteral("mm.dd.yyyy")}));
  EXPECT_EQ(s.DateFormPreviewLb.Caption,
            QStringLiteral("„03.04.2026”: válasszon formátumot a ▾ gombbal (2 lehetőség)"));
  s.DateFormEd.Text = QStringLiteral("mm.dd.yyyy");
  form->DateFormEdChange();
  EXPECT_EQ(s.DateFormPreviewLb.Caption,
            QStringLiteral("„03.04.2026” így olvasva: 2026. március 4."));
  form->DateFormChoicesBtnClick(0);
  EXPECT_EQ(s.DateFormEd.Text, QStringLiteral("dd.mm.yyyy"));
  EXPECT_EQ(s.DateFormPreviewLb.Caption,
            QStringLiteral("„03.04.2026” így olvasva: 2026. április 3."));
  form->ContentCheckBtnClick();
  ASSERT_TRUE(form->InputLoaded());
  EXPECT_EQ(form->Job().AFAAdatList.front().Datum, QDate(2026, 4, 3));

  // a file the detection reads: its format is the one offered
  Choose(Lines(3));
  EXPECT_EQ(s.DateFormChoicesBtn.Items, QStringList{QStringLiteral("yyyy.mm.dd")});
  EXPECT_EQ(s.DateFormPreviewLb.Caption,
            QStringLiteral("„2026.11.10” így olvasva: 2026. november 10."));
}

TEST_F(ContentTabTest, AReaderErrorKeepsTheRecordsBeforeItButNotTheCounts) {
  Choose(Lines(12));
  ASSERT_EQ(form->InputStage(), Stage::Loaded);
  // the fifteenth record has a field too many: the check passes on the preview, the load stops
  Choose(Lines(14, "12345678-2-42;Kiss Bt;2026.11.10;SZ-X;1,00;0,10;extra\n"));
  MainFormState& s = form->State;
  EXPECT_EQ(form->InputStage(), Stage::ContentChecked);
  EXPECT_FALSE(form->InputLoaded());
  EXPECT_EQ(form->Job().AFAAdatList.size(), 14u);
  EXPECT_EQ(s.CsvLoadRowNumEd.Text, QStringLiteral("?"));
  EXPECT_EQ(ui.Texts(QStringLiteral("error")),
            QStringList{QStringLiteral("Hiba lépett fel a fájl betöltése során")});
  // the box's text as it always was; the reader's reason, record and field beside it
  EXPECT_EQ(ui.ErrorDetails,
            std::vector<QString>{QStringLiteral(
                "A betöltés megszakadt: TqdxCSVFileReader: Wrong number of fields. Record #: 16; "
                "Field #: 7 (both start from 1)")});
  // the declaration run refuses to start
  ui.Clear();
  form->Step1BtnClick();
  EXPECT_EQ(ui.Texts(), QStringList{QStringLiteral("Még nem volt sikeres input (CSV) fájl "
                                                   "betöltés, nem készíthető XML  nyomtatvány")});
}

TEST_F(ContentTabTest, AFileThatChangedSinceItsLinesWereCountedIsNotLoaded) {
  Choose(Lines(12));
  ASSERT_TRUE(form->InputLoaded());
  // Another program appends to the export; the load button reads it again.
  QFile file(root.filePath(QStringLiteral("in1.csv")));
  ASSERT_TRUE(file.open(QIODevice::Append));
  file.write("12345678-2-42;Kiss Bt;2026.11.10;SZ-99;1.000,00;270,00\n");
  file.close();
  ui.Clear();
  form->LoadFileBTnClick();
  EXPECT_FALSE(form->InputLoaded());
  EXPECT_TRUE(form->Job().AFAAdatList.empty());
  ASSERT_EQ(ui.Texts(QStringLiteral("error")).size(), 1);
  EXPECT_TRUE(ui.Texts(QStringLiteral("error"))
                  .front()
                  .startsWith(QStringLiteral("Az input fájl megváltozott")));
}

// Whatever a passed check or the load read, changed afterwards, leaves nothing loaded and
// the later marks "not checked", as a new check would; the declaration then refuses.
TEST_F(ContentTabTest, ASettingChangedAfterTheChecksMakesThemStale) {
  MainFormState& s = form->State;
  struct Change {
    const char* What;
    std::function<void()> Do;
    Stage After;
  };
  const std::vector<Change> changes = {
      {"separator",
       [&] {
         s.CsvSeparatorEd.Text = QStringLiteral(",");
         form->StructureSettingChange();
       },
       Stage::FileChosen},
      {"header",
       [&] {
         s.HeaderCbx.Checked = false;
         form->StructureSettingChange();
       },
       Stage::FileChosen},
      {"column",
       [&] {
         s.AFAColCbx.ItemIndex = 5;
         form->ColumnCbxChange();
       },
       Stage::StructureChecked},
      {"date format",
       [&] {
         s.DateFormEd.Text = QStringLiteral("dd.mm.yyyy");
         form->DateFormEdChange();
       },
       Stage::StructureChecked},
      {"decimal separator",
       [&] {
         s.DecSepCbx.ItemIndex = 1;
         form->DecSepCbxChange();
       },
       Stage::StructureChecked},
  };
  for (const Change& change : changes) {
    Choose(Lines(12));
    ASSERT_TRUE(form->InputLoaded()) << change.What;
    change.Do();
    EXPECT_EQ(form->InputStage(), change.After) << change.What;
    EXPECT_FALSE(form->InputLoaded()) << change.What;
    for (const CheckButtonControl* b : {&s.AdoszamCheckBBtn, &s.DatumCheckBBtn, &s.OsszegCheckBBtn})
      EXPECT_EQ(b->Mark, CheckMark::Help) << change.What;
    EXPECT_EQ(s.CsvLoadRowNumEd.Text, QStringLiteral("?")) << change.What;
    EXPECT_EQ(s.CsvMissedRowNumEd.Text, QStringLiteral("?")) << change.What;
    EXPECT_FALSE(Enabled(MainPanel::Betoltes)) << change.What;
    ui.Clear();
    form->Step1BtnClick();
    EXPECT_EQ(ui.Texts(), QStringList{QStringLiteral("Még nem volt sikeres input (CSV) fájl "
                                                     "betöltés, nem készíthető XML  nyomtatvány")})
        << change.What;
  }
  // Before any check has passed, an edit changes no stage.
  Choose(Lines(12));
  form->SetInputStage(Stage::StructureChecked);
  s.DecSepCbx.ItemIndex = 0;
  form->DecSepCbxChange();
  EXPECT_EQ(form->InputStage(), Stage::StructureChecked);
  EXPECT_TRUE(Enabled(MainPanel::Tartalom));
}

TEST_F(ContentTabTest, PartnersWhoseCheckDigitFailsAreCountedAndListedButLoaded) {
  MainFormState& s = form->State;
  // 12345678: the first seven give 6. 10773381 is right.
  Choose(Lines(12,
               "10773381-2-44;Jó Kft;2026.11.02;J-1;1,00;0,27\n"
               "12345679-2-42;Más Bt;2026.11.03;M-1;1,00;0,27\n"));
  ASSERT_TRUE(form->InputLoaded());
  EXPECT_EQ(s.CsvLoadRowNumEd.Text, QStringLiteral("14"));
  const QString line = QStringLiteral(
      "2 partner adószámának ellenőrző számjegye hibás: 12345678-2-42, 12345679-2-42.");
  EXPECT_EQ(s.LoadWarningsLb.Caption, line);
  EXPECT_TRUE(s.ShowLoadWarningsBtn.Enabled);
  ui.Clear();
  form->ShowLoadWarningsBtnClick();
  EXPECT_EQ(ui.Texts(), QStringList{line + QStringLiteral("\n\n12345678-2-42\n12345679-2-42")});
  // Gone with the load it was about.
  s.DecSepCbx.ItemIndex = 1;
  form->DecSepCbxChange();
  EXPECT_TRUE(s.LoadWarningsLb.Caption.isEmpty());
  EXPECT_FALSE(s.ShowLoadWarningsBtn.Enabled);

  QByteArray good =
      "Partner adószáma;Partner neve;Teljesítés dátuma;Számla sorszáma;Nettó összeg;"
      "ÁFA összeg\n";
  for (int i = 0; i < 12; ++i)
    good += "10773381-2-44;Jó Kft;2026.11.10;J-" + QByteArray::number(i) + ";1.000,00;270,00\n";
  Choose(good);
  ASSERT_TRUE(form->InputLoaded());
  EXPECT_TRUE(s.LoadWarningsLb.Caption.isEmpty());
  EXPECT_FALSE(s.ShowLoadWarningsBtn.Enabled);
}

TEST_F(ContentTabTest, AColumnChosenForTwoFieldsIsNamedAndChosenAmountsSetTheDecimalSeparator) {
  MainFormState& s = form->State;
  QByteArray text =
      "Partner adószáma;Partner neve;Teljesítés dátuma;Számla sorszáma;Nettó összeg;ÁFA összeg;"
      "Egyéb 1;Egyéb 2\n";
  for (int i = 0; i < 12; ++i)
    text += "10773381-2-44;Kiss Bt;2026.11.10;SZ-" + QByteArray::number(i) +
            ";1.000,00;270,00;\"1,000,000.00\";\"270,000.00\"\n";
  Choose(text);
  ASSERT_TRUE(form->InputLoaded());
  ASSERT_EQ(s.AFAAlapColCbx.ItemIndex, 5);
  EXPECT_EQ(s.DecSepCbx.ItemIndex, 0);  // "Vessző"

  ui.Clear();
  s.AFAColCbx.ItemIndex = 5;
  form->ColumnCbxChange();
  EXPECT_EQ(ui.Texts(QStringLiteral("warning")),
            QStringList{QStringLiteral(
                "A(z) 5. oszlop két mezőhöz is ki van jelölve: Nettó összeg, ÁFA összeg")});

  ui.Clear();
  s.AFAAlapColCbx.ItemIndex = 7;
  s.AFAColCbx.ItemIndex = 8;
  form->ColumnCbxChange();
  EXPECT_TRUE(ui.Messages.empty());
  EXPECT_EQ(s.DecSepCbx.ItemIndex, 1);  // "Pont", as the chosen columns are written
  // Another column changed leaves a separator picked by hand as it is.
  s.DecSepCbx.ItemIndex = 0;
  s.BizSzamColCbx.ItemIndex = 2;
  form->ColumnCbxChange();
  EXPECT_EQ(s.DecSepCbx.ItemIndex, 0);
}

TEST_F(ContentTabTest, AStoppedLoadLeavesNothingLoadedAndSaysSo) {
  ui.CancelWhen = [](const QString& what, qint64, qint64) {
    return what == QStringLiteral("Az input fájl betöltése…");
  };
  Choose(Lines(12));
  EXPECT_FALSE(form->InputLoaded());
  EXPECT_TRUE(form->Job().AFAAdatList.empty());
  EXPECT_EQ(form->State.CsvLoadRowNumEd.Text, QStringLiteral("?"));
  EXPECT_EQ(
      ui.Messages,
      (std::vector<test::Message>{{"information", QStringLiteral("Az input fájl betöltése "
                                                                 "megszakítva, semmi nem került "
                                                                 "betöltésre")}}));
  EXPECT_EQ(ui.BoxesDuringProgress, 0);
  // The next load runs to its end.
  ui.CancelWhen = {};
  ui.Clear();
  form->ContentCheckBtnClick();
  EXPECT_TRUE(form->InputLoaded());
  EXPECT_EQ(form->State.CsvLoadRowNumEd.Text, QStringLiteral("12"));
}

TEST_F(ContentTabTest, HiddenControls) {
  form->LoadFileBTnClick();
  EXPECT_EQ(ui.Texts(), QStringList{QStringLiteral("Kérem jelöljön ki egy fájlt először")});
  MainFormState& s = form->State;
  form->Button1Click();  // 2020.03.03 with yyyy.mm.dd
  EXPECT_TRUE(s.ConvertedEd.Text.startsWith(QStringLiteral("2020")));
  EXPECT_TRUE(s.ConvertedEd.Text.endsWith(QStringLiteral("03")));
  s.DateStrEd.Text = QStringLiteral("2020.02.30");
  form->Button1Click();
  EXPECT_EQ(s.ConvertedEd.Text, QStringLiteral("??"));
}

}  // namespace
}  // namespace krinu
