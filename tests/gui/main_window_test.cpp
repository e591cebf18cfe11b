#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>

#include "common/clock.h"
#include "gui/main_window.h"

namespace krinu {
namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "gui_tests";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
  return app;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    Clock::SetTodayForTesting([] { return QDate(2027, 1, 1); });
    env.ProgramPath = root.filePath(QStringLiteral("krinu"));
    env.UserProfile = root.path();
    window = std::make_unique<MainWindow>(env);
    ASSERT_TRUE(window->Start());
  }
  void TearDown() override { Clock::SetTodayForTesting({}); }
  template <class W>
  W* Find(const char* name) {
    W* w = window->findChild<W*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }

  QTemporaryDir root;
  AppEnvironment env;
  std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, ShowsTheStateAfterStartUp) {
  EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral(" / Verzió: 1.07")));
  auto* tabs = Find<QTabWidget>("MainPC");
  ASSERT_TRUE(tabs);
  EXPECT_EQ(tabs->tabText(0), QStringLiteral("  Könyvelési/ÁFA adatok betöltése  "));
  EXPECT_EQ(tabs->tabText(1), QStringLiteral("  XML ÁFA bevallás készítése"));
  EXPECT_EQ(tabs->currentIndex(), 0);

  EXPECT_EQ(Find<QAbstractButton>("SelectFileBtn")->text(),
            QStringLiteral("Input File kijelölése (CSV formátum)"));
  EXPECT_TRUE(Find<QAbstractButton>("SelectFileBtn")->isEnabled());
  EXPECT_TRUE(Find<QLineEdit>("FileNameEd")->isReadOnly());
  // locked panels
  for (const char* name : {"HeaderCbx", "CsvSeparatorEd", "SzerkezetCheckBtn", "AdoszamColCbx",
                           "DateFormEd", "ContentCheckBtn", "ShowMissedBtn", "SzerkezetPanelTitle"})
    EXPECT_FALSE(Find<QWidget>(name)->isEnabled()) << name;
  EXPECT_EQ(Find<QLineEdit>("CsvSeparatorEd")->text(), QStringLiteral("?"));
  EXPECT_EQ(Find<QLineEdit>("CsvSeparatorEd")->maxLength(), 1);
  EXPECT_EQ(Find<QLineEdit>("DateFormEd")->maxLength(), 20);
  EXPECT_EQ(Find<QComboBox>("AdoszamColCbx")->itemText(0), QStringLiteral("Kérem, jelölje ki"));
  EXPECT_EQ(Find<QComboBox>("AdoszamColCbx")->currentIndex(), -1);
  EXPECT_EQ(Find<QLabel>("CodePageLb")->text(), QStringLiteral("?"));
  EXPECT_FALSE(Find<QAbstractButton>("LoadFileBTn")->isVisibleTo(window.get()));

  // the second tab: always enabled, the period is December of the year before
  EXPECT_EQ(Find<QComboBox>("AdozokCb")->currentText(),
            QStringLiteral("19345678910 / Zuhanó Részvény Kft"));
  EXPECT_EQ(Find<QComboBox>("UgyintezokCb")->currentText(),
            QStringLiteral("Minta Ügyintéző / 06123456789"));
  EXPECT_EQ(Find<QDateEdit>("IdoszakADtPick")->date(), QDate(2026, 12, 1));
  EXPECT_EQ(Find<QDateEdit>("IdoszakBDtPick")->date(), QDate(2026, 12, 31));
  EXPECT_TRUE(Find<QDateEdit>("IdoszakADtPick")->calendarPopup());
  EXPECT_TRUE(Find<QCheckBox>("OverWriteXmlFileCbx")->isChecked());
  EXPECT_TRUE(Find<QCheckBox>("BizSumCbx")->isChecked());
  EXPECT_FALSE(Find<QCheckBox>("DropZeroItemsCbx")->isChecked());
  EXPECT_EQ(Find<QLineEdit>("NyomtVerEd")->text(), QStringLiteral("1.0"));
  const QString log = Find<QPlainTextEdit>("XMLGenMm")->toPlainText();
  EXPECT_TRUE(log.startsWith(
      QStringLiteral("\nNAV ÁFA bevallás készítő program elindult\nAdat könyvtár: ")));
}

TEST_F(MainWindowTest, EditsReachTheStateBeforeAHandler) {
  Find<QCheckBox>("DropZeroItemsCbx")->setChecked(true);
  Find<QLineEdit>("NyomtVerEd")->setText(QStringLiteral("2.0"));
  window->Run([] {});
  EXPECT_TRUE(window->Form().State.DropZeroItemsCbx.Checked);
  EXPECT_EQ(window->Form().State.NyomtVerEd.Text, QStringLiteral("2.0"));

  // a tab change runs the tab's handler: the focus goes to the file button
  Find<QTabWidget>("MainPC")->setCurrentIndex(1);
  EXPECT_EQ(window->Form().State.MainPCActivePage, 1);
}

TEST(QtPort, FilterAndLineBreaks) {
  EXPECT_EQ(QtFileFilter(QStringLiteral("Csv files (*.csv) |*.csv|All Files (*.*)|*.*")),
            QStringLiteral("Csv files (*.csv);;All Files (*.*)"));
  EXPECT_EQ(QtFileFilter(QStringLiteral("Text|*.txt;*.csv")), QStringLiteral("Text (*.txt *.csv)"));
  EXPECT_EQ(QtMessageText(QStringLiteral("a\r\nb\rc")), QStringLiteral("a\nb\nc"));
}

}  // namespace
}  // namespace krinu
