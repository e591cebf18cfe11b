#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/main_form.h"
#include "common/clock.h"
#include "support/scripted_ui.h"
#include "support/test_env.h"
#include "support/test_main_form.h"

namespace krinu {
namespace {

// A program folder and a home folder of its own for every test.
class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Clock::SetTodayForTesting([] { return QDate(2026, 3, 15); });
    programDir = root.filePath(QStringLiteral("bin/"));
    home = root.filePath(QStringLiteral("home"));
    QDir().mkpath(programDir);
    QDir().mkpath(home);
    env.ProgramPath = programDir + QStringLiteral("krinu");
    env.UserProfile = home;
  }
  void TearDown() override { Clock::SetTodayForTesting({}); }

  std::unique_ptr<test::TestMainForm> Start() {
    auto form = std::make_unique<test::TestMainForm>(ui, env);
    form->FormCreate();
    return form;
  }

  QTemporaryDir root;
  QString programDir, home;
  AppEnvironment env;
  test::ScriptedUserInterface ui;
};

TEST_F(MainFormTest, StateAfterStartUp) {
  auto form = Start();
  const MainFormState& s = form->State;
  EXPECT_TRUE(ui.Messages.empty());
  EXPECT_EQ(s.Caption, QStringLiteral("Könyvelési/ÁFA adatok konvertálása  NAV xx65 (ÁFA bevallás) "
                                      "XML nyomtatványra / Verzió: 1.07"));
  EXPECT_EQ(s.MainPCActivePage, 0);
  EXPECT_TRUE(s.FileNameEd.Text.isEmpty());

  // the three panels are reset and locked; only the file button is usable on the first tab
  auto& mutableState = form->State;
  for (MainPanel p : {MainPanel::Szerkezet, MainPanel::Tartalom, MainPanel::Betoltes})
    for (const Control* c : mutableState.ControlsOn(p)) EXPECT_FALSE(c->Enabled);
  EXPECT_TRUE(s.SelectFileBtn.Enabled);
  EXPECT_FALSE(s.HeaderCbx.Checked);
  EXPECT_EQ(s.CsvSeparatorEd.Text, QStringLiteral("?"));
  EXPECT_EQ(s.ColCountPrevEd.Text, QStringLiteral("?"));
  EXPECT_EQ(s.RowCountPrevEd.Text, QStringLiteral("?"));
  EXPECT_EQ(s.InputDataSG.RowCount, 1);
  EXPECT_EQ(s.InputDataSG.ColCount, 1);
  EXPECT_EQ(s.InputDataSG.Cells, QVector<QStringList>{QStringList{QString()}});
  for (ComboControl* combo : mutableState.ColumnCombos()) {
    EXPECT_EQ(combo->Items, QStringList{QStringLiteral("Kérem, jelölje ki")});
    EXPECT_EQ(combo->ItemIndex, -1);
  }
  EXPECT_EQ(s.DecSepCbx.Items, (QStringList{QStringLiteral("Vessző"), QStringLiteral("Pont")}));
  EXPECT_EQ(s.DecSepCbx.ItemIndex, -1);
  EXPECT_TRUE(s.DateFormEd.Text.isEmpty());
  for (const auto* b : {&s.AdoszamCheckBBtn, &s.DatumCheckBBtn, &s.OsszegCheckBBtn}) {
    EXPECT_TRUE(b->Caption.isEmpty());
    EXPECT_EQ(b->Mark, CheckMark::Help);
  }
  EXPECT_EQ(s.CsvLoadRowNumEd.Text, QStringLiteral("?"));
  EXPECT_EQ(s.CsvMissedRowNumEd.Text, QStringLiteral("?"));
  EXPECT_FALSE(form->InputLoaded());

  // second tab
  EXPECT_EQ(s.AdozokCb.Items, QStringList{QStringLiteral("19345678910 / Zuhanó Részvény Kft")});
  EXPECT_EQ(s.AdozokCb.ItemIndex, 0);
  EXPECT_EQ(s.UgyintezokCb.Items, QStringList{QStringLiteral("Minta Ügyintéző / 06123456789")});
  EXPECT_EQ(s.UgyintezokCb.ItemIndex, 0);
  EXPECT_EQ(form->Session().UgyintezokList.Key(0), QStringLiteral("0001"));
  EXPECT_EQ(s.IdoszakADtPick.Date, QDate(2026, 2, 1));
  EXPECT_EQ(s.IdoszakBDtPick.Date, QDate(2026, 2, 28));
  EXPECT_TRUE(s.XMLFileSelectEd.Text.isEmpty());
  EXPECT_EQ(s.NyomtVerEd.Text, QStringLiteral("1.0"));
  EXPECT_TRUE(s.OverWriteXmlFileCbx.Checked);
  EXPECT_TRUE(s.BizSumCbx.Checked);
  EXPECT_FALSE(s.DropZeroItemsCbx.Checked);

  // the log: the designed empty line, the start-up lines, then the new database's lines
  const QString dataDir = QDir::toNativeSeparators(home + QStringLiteral("/.Krinu/"));
  EXPECT_EQ(form->Session().DataDir, dataDir);
  EXPECT_EQ(s.XMLGenMm.Lines,
            (QStringList{QString(), QStringLiteral("NAV ÁFA bevallás készítő program elindult"),
                         QStringLiteral("Adat könyvtár: ") + dataDir,
                         QStringLiteral("Az programhoz tartozó adatbázis (") + dataDir +
                             QStringLiteral("Pelodin.db) nem létezik"),
                         QStringLiteral("Új adatbázis kerül létrehozásra")}));

  // the dialogs take their titles from the buttons
  EXPECT_EQ(form->OpenDialog.Title, QStringLiteral("Input File kijelölése (CSV formátum)"));
  EXPECT_EQ(form->OpenDialog.Filter,
            QStringLiteral("Csv files (*.csv) |*.csv|All Files (*.*)|*.*"));
  EXPECT_EQ(form->SaveDialog.Title, QStringLiteral("Adja meg a készítendő XML fájl nevét"));
  EXPECT_EQ(form->SaveDialog.Filter, QStringLiteral("XML files (*.xml)|*.xml|Any file (*.*)|*.*"));
}

TEST_F(MainFormTest, DataFolder) {
  {  // an existing folder is used as it is; the second start writes no database lines
    Start();
    auto again = Start();
    EXPECT_EQ(again->Session().DataDir,
              QDir::toNativeSeparators(home + QStringLiteral("/.Krinu/")));
    EXPECT_EQ(again->State.XMLGenMm.Lines.size(), 3);
  }
  {  // no per-user folder: the program's folder, nothing created elsewhere
    env.UserProfile.clear();
    auto form = Start();
    EXPECT_EQ(form->Session().DataDir, QDir::toNativeSeparators(programDir));
    EXPECT_TRUE(QFileInfo::exists(programDir + QStringLiteral("Pelodin.db")));
  }
  {  // a per-user "folder" that is a file: the folder cannot be made, the program's is used
    const QString file = root.filePath(QStringLiteral("not-a-folder"));
    test::WriteFile(file, "x");
    env.UserProfile = file;
    auto form = Start();
    EXPECT_EQ(form->Session().DataDir, QDir::toNativeSeparators(programDir));
    EXPECT_EQ(form->State.XMLGenMm.Lines.value(2),
              QStringLiteral("Adat könyvtár: ") + QDir::toNativeSeparators(programDir));
  }
  {  // a folder named on the command line is created, several levels deep
    env.DataDirOverride = root.filePath(QStringLiteral("a/b/c"));
    auto form = Start();
    EXPECT_EQ(form->Session().DataDir,
              QDir::toNativeSeparators(root.filePath(QStringLiteral("a/b/c/"))));
    EXPECT_TRUE(QFileInfo::exists(form->Session().DataDir + QStringLiteral("Pelodin.db")));
  }
}

TEST_F(MainFormTest, SettingsFile) {
  {  // none: all masks empty
    auto form = Start();
    for (const QStringList& masks : form->Session().HeaderMasks) EXPECT_TRUE(masks.isEmpty());
  }
  {  // present: read
    test::WriteFile(programDir + QStringLiteral("krinu.ini"), "[DATA_COLUMN]\nAFA=Áfa\n");
    auto form = Start();
    EXPECT_EQ(form->Session().HeaderMasks[5], QStringList{QStringLiteral("ÁFA")});
    EXPECT_EQ(form->Session().HeaderMasks[0], QStringList{QStringLiteral("ADÓSZÁM")});
  }
  {  // no regular file (a folder here; a FIFO would block): the log says so, the built-in
     // masks are used
    env.IniFileName = root.filePath(QStringLiteral("folder.ini"));
    QDir().mkpath(env.IniFileName);
    auto form = Start();
    EXPECT_TRUE(form->Startup() == TStartup::Started);
    EXPECT_TRUE(ui.Texts(QStringLiteral("error")).isEmpty());
    EXPECT_TRUE(form->State.XMLGenMm.Lines.value(1).startsWith(
        QStringLiteral("A program 'INI' fájlja (") + env.IniFileName));
    EXPECT_EQ(form->Session().HeaderMasks[0], QStringList{QStringLiteral("ADÓSZÁM")});
  }
}

TEST_F(MainFormTest, StartUpFailureIsReportedAndTheWindowStillOpens) {
  // a file that is no database: opening works, the first load fails with code 26
  test::WriteFile(home + QStringLiteral("/.Krinu/Pelodin.db"), QByteArray(4096, 'x'));
  auto form = Start();
  ASSERT_EQ(ui.Messages.size(), 1u);
  const QString text = ui.Messages[0].Text;
  EXPECT_EQ(ui.Messages[0].Kind, QStringLiteral("error"));
  EXPECT_TRUE(
      text.startsWith(QStringLiteral("Probléma merült fel a program inicializálása közben: ")))
      << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("File opened that is not a database file")))
      << text.toStdString();
  // the file and the way out are named
  EXPECT_TRUE(text.contains(QStringLiteral("\n\nAz adatbázis fájl (") +
                            QDir::toNativeSeparators(home + QStringLiteral("/.Krinu/Pelodin.db")) +
                            QStringLiteral(") sérült")))
      << text.toStdString();
  EXPECT_TRUE(
      text.contains(QStringLiteral("a következő indításkor a program új adatbázist hoz "
                                   "létre")));
  EXPECT_FALSE(form->Startup() == TStartup::Aborted);
  EXPECT_TRUE(form->Startup() == TStartup::Failed);
  // the rest of the window is set up; the registers show that they cannot be used
  EXPECT_TRUE(form->State.IdoszakADtPick.Date.isValid());
  EXPECT_TRUE(form->State.AdozokCb.Items.isEmpty());
  EXPECT_FALSE(form->State.AdozokCb.Enabled);
  EXPECT_FALSE(form->State.UgyintezokMenu.Enabled);
  EXPECT_FALSE(form->Session().Db);
  form->Step1BtnClick();
  EXPECT_EQ(ui.Messages.back().Text, QStringLiteral("Még nem volt sikeres input (CSV) fájl "
                                                    "betöltés, nem készíthető XML  nyomtatvány"));
}

TEST_F(MainFormTest, MenusAndTabs) {
  auto form = Start();
  // the user guide: missing from the Help folder, then present
  ui.OpenDocumentAnswer = OpenDocumentResult::NotFound;
  form->UserGuideMenuClick();
  const QString guide =
      QDir::toNativeSeparators(programDir + QStringLiteral("Help/Kezikonyv.html"));
  EXPECT_EQ(ui.OpenedDocuments, std::vector<QString>{guide});
  EXPECT_EQ(ui.Texts(QStringLiteral("error")),
            QStringList{QStringLiteral("Sajnálom, a kézikönyv fájlt nem találom, a következő néven "
                                       "kerestem: \n") +
                        guide});
  ui.Clear();
  ui.OpenDocumentAnswer = OpenDocumentResult::Failed;  // no viewer: the own help window
  form->UserGuideMenuClick();
  EXPECT_TRUE(ui.Messages.empty());
  EXPECT_EQ(ui.ShownWindows, std::vector<SecondaryWindow>{SecondaryWindow::Help});
  ui.ShownWindows.clear();

  // a register visit refreshes its combo and selects item 0 again
  form->State.AdozokCb.ItemIndex = -1;
  ui.OnShowModal = [&](SecondaryWindow w) {
    if (w == SecondaryWindow::Adozok)
      form->Session().Db->ExecSQL(QStringLiteral(
          "INSERT INTO Adozok VALUES ('12345678901','Aladár Bt','B','12345678','12345678')"));
  };
  form->AdozokMenuClick();
  EXPECT_EQ(ui.ShownWindows, std::vector<SecondaryWindow>{SecondaryWindow::Adozok});
  EXPECT_EQ(form->State.AdozokCb.Items.size(), 2);
  EXPECT_EQ(form->State.AdozokCb.Items[0], QStringLiteral("12345678901 / Aladár Bt"));
  EXPECT_EQ(form->State.AdozokCb.ItemIndex, 0);
  EXPECT_EQ(form->Session().AdozokList.Object(0)->Nev, QStringLiteral("Aladár Bt"));

  form->State.UgyintezokCb.ItemIndex = -1;
  form->UgyintezokMenuClick();
  EXPECT_EQ(form->State.UgyintezokCb.ItemIndex, 0);

  form->XMLGenTSShow();
  EXPECT_EQ(form->State.FocusedControl, QStringLiteral("XMLFileSelectBtn"));
  form->ExitMenuClick();
  EXPECT_TRUE(form->State.CloseRequested);
}

}  // namespace
}  // namespace krinu
