#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "app/main_form.h"
#include "common/clock.h"
#include "support/scripted_ui.h"
#include "support/test_env.h"
#include "support/test_main_form.h"

namespace krinu {
namespace {

const QByteArray kCsv =
    "Partner adószáma;Partner neve;Teljesítés dátuma;Számla sorszáma;Nettó összeg;ÁFA összeg\n"
    "12345678-2-42;Kovács Kft;2026.02.05;SZ-1;100000;27000\n"
    "87654321-1-13;Őrség Bt;2026.02.06;SZ-2;50000;13500\n";

// An installed tree: the programs in bin/, what they ship in share/krinu/.
class InstalledLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Clock::SetTodayForTesting([] { return QDate(2026, 3, 15); });
    programDir = root.filePath(QStringLiteral("bin/"));
    shareDir = root.filePath(QStringLiteral("share/krinu/"));
    QDir().mkpath(programDir);
    QDir().mkpath(shareDir);
    env.ProgramPath = programDir + QStringLiteral("krinu");
    env.UserProfile = root.filePath(QStringLiteral("home"));
    QDir().mkpath(env.UserProfile);
  }
  void TearDown() override { Clock::SetTodayForTesting({}); }
  // The shipped header masks, so that the columns are assigned and the file loads.
  void ShipSettings() {
    test::WriteFile(shareDir + QStringLiteral("krinu.ini"),
                    test::ReadFile(test::BinDir() + QStringLiteral("krinu.ini")));
  }
  std::unique_ptr<test::TestMainForm> Start() {
    auto form = std::make_unique<test::TestMainForm>(ui, env);
    form->FormCreate();
    return form;
  }

  QTemporaryDir root;
  QString programDir, shareDir;
  AppEnvironment env;
  test::ScriptedUserInterface ui;
};

TEST_F(InstalledLayoutTest, ShippedFilesAreFoundBesideTheProgramFirstThenInShare) {
  const QString ini = QStringLiteral("krinu.ini");
  EXPECT_EQ(ProgramFile(programDir, ini),
            QDir::toNativeSeparators(programDir + ini));  // neither: the path beside
  test::WriteFile(shareDir + ini, "[DATA_COLUMN]\nAFA=Áfa\n");
  EXPECT_EQ(ProgramFile(programDir, ini), QDir::toNativeSeparators(shareDir + ini));
  {
    auto form = Start();
    EXPECT_EQ(form->Session().IniFileName, QDir::toNativeSeparators(shareDir + ini));
    EXPECT_EQ(form->Session().HeaderMasks[5], QStringList{QStringLiteral("ÁFA")});
  }
  test::WriteFile(programDir + ini, "[DATA_COLUMN]\nAFA=Adó\n");
  EXPECT_EQ(ProgramFile(programDir, ini), QDir::toNativeSeparators(programDir + ini));
  EXPECT_EQ(Start()->Session().HeaderMasks[5], QStringList{QStringLiteral("ADÓ")});
}

TEST_F(InstalledLayoutTest, UserGuideFromShareAndTheOwnHelpWindowWhenTheDesktopCannotOpenIt) {
  const QString guide = QDir::toNativeSeparators(shareDir + QStringLiteral("Help/Kezikonyv.html"));
  test::WriteFile(guide, "<html></html>");
  auto form = Start();
  form->UserGuideMenuClick();
  EXPECT_EQ(ui.OpenedDocuments, std::vector<QString>{guide});
  EXPECT_TRUE(ui.ShownWindows.empty());

  ui.OpenDocumentAnswer = OpenDocumentResult::Failed;
  form->UserGuideMenuClick();
  EXPECT_EQ(ui.ShownWindows, std::vector<SecondaryWindow>{SecondaryWindow::Help});
  EXPECT_EQ(form->Session().UserGuideFile, guide);
  EXPECT_TRUE(ui.Messages.empty());
}

TEST_F(InstalledLayoutTest, DroppedFileIsChosenAsTheOpenDialogWouldChooseIt) {
  const QString csv = root.filePath(QStringLiteral("in/szamlak.csv"));
  test::WriteFile(csv, kCsv);
  ShipSettings();

  // the same file through the dialog, for comparison
  auto viaDialog = Start();
  ui.OpenFileAnswers.push_back(csv);
  viaDialog->SelectFileBtnClick();
  const auto dialogMessages = ui.Messages;
  ui.Clear();
  ui.DialogSpecs.clear();

  auto form = Start();
  form->FilesDropped(QStringList{csv});
  EXPECT_TRUE(ui.DialogSpecs.empty());  // no dialog asked
  EXPECT_EQ(ui.Messages, dialogMessages);
  EXPECT_EQ(form->State.FileNameEd.Text, csv);
  EXPECT_EQ(form->InputStage(), viaDialog->InputStage());
  EXPECT_EQ(form->InputStage(), TMainForm::TInputStage::Loaded);
  EXPECT_EQ(form->Job().AFAAdatList.size(), viaDialog->Job().AFAAdatList.size());
  EXPECT_EQ(form->State.CsvLoadRowNumEd.Text, viaDialog->State.CsvLoadRowNumEd.Text);

  // the drop is used up: the button asks the dialog again, and Cancel changes nothing
  form->SelectFileBtnClick();
  EXPECT_EQ(ui.DialogSpecs.size(), 1u);
  EXPECT_EQ(form->State.FileNameEd.Text, csv);
}

TEST_F(InstalledLayoutTest, DropOfSeveralFilesOrAFolderIsRefusedAndChangesNothing) {
  const QString a = root.filePath(QStringLiteral("in/a.csv"));
  const QString b = root.filePath(QStringLiteral("in/b.csv"));
  test::WriteFile(a, kCsv);
  test::WriteFile(b, kCsv);
  ShipSettings();
  auto form = Start();
  ui.Clear();

  form->FilesDropped(QStringList{a, b});
  ASSERT_EQ(ui.Texts(QStringLiteral("warning")).size(), 1);
  EXPECT_TRUE(ui.Texts(QStringLiteral("warning"))[0].startsWith(
      QStringLiteral("Egyszerre csak egy input fájl jelölhető ki.")));
  EXPECT_EQ(form->InputStage(), TMainForm::TInputStage::NoFile);
  EXPECT_TRUE(form->State.FileNameEd.Text.isEmpty());
  ui.Clear();

  const QString folder = root.filePath(QStringLiteral("in"));
  form->FilesDropped(QStringList{folder});
  ASSERT_EQ(ui.Texts(QStringLiteral("warning")).size(), 1);
  EXPECT_TRUE(ui.Texts(QStringLiteral("warning"))[0].contains(folder));
  EXPECT_EQ(form->InputStage(), TMainForm::TInputStage::NoFile);
  ui.Clear();

  // a refused drop leaves nothing behind for the next dialog
  form->SelectFileBtnClick();
  EXPECT_EQ(ui.DialogSpecs.size(), 1u);
  EXPECT_EQ(form->InputStage(), TMainForm::TInputStage::NoFile);

  // a loaded file stays loaded after a refused drop
  form->FilesDropped(QStringList{a});
  ASSERT_EQ(form->InputStage(), TMainForm::TInputStage::Loaded);
  form->FilesDropped(QStringList{a, b});
  EXPECT_EQ(form->InputStage(), TMainForm::TInputStage::Loaded);
  EXPECT_EQ(form->State.FileNameEd.Text, a);
}

}  // namespace
}  // namespace krinu
