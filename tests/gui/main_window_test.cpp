#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QInputDevice>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include "app/handler_runner.h"
#include "common/clock.h"
#include "gui/main_window.h"
#include "gui/qt_user_interface.h"
#include "masterdata/sqlite_database.h"
#include "support/test_env.h"

namespace krinu {
namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "gui_tests";
  static char* argv[] = {name, nullptr};
  // The list of input devices is made on first use; made before the application, it is
  // still there when the application frees the devices that key and wheel events made.
  static const auto devices = QInputDevice::devices();
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

  // A window over the shipped settings, whose masks know the exports' headers.
  void StartWithShippedSettings() {
    window.reset();
    QDir().mkpath(root.filePath(QStringLiteral("bin")));
    ASSERT_TRUE(QFile::copy(test::BinDir() + QStringLiteral("krinu.ini"),
                            root.filePath(QStringLiteral("bin/krinu.ini"))));
    env.ProgramPath = root.filePath(QStringLiteral("bin/krinu"));
    window = std::make_unique<MainWindow>(env);
    ASSERT_TRUE(window->Start());
  }

  QTemporaryDir root;
  AppEnvironment env;
  std::unique_ptr<MainWindow> window;
};

// Closes every box as it opens, while it lives, and keeps what the boxes said.
class BoxCloser {
 public:
  explicit BoxCloser(QStringList& boxes) {
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, [&boxes] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        boxes << box->text();
        box->accept();
      }
    });
    timer_.start();
  }
  void stop() { timer_.stop(); }

 private:
  QTimer timer_;
};

TEST_F(MainWindowTest, ShowsTheStateAfterStartUp) {
  EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral(" / Verzió: 1.07")));
  // The guide the build ships names the same version.
  EXPECT_TRUE(test::ReadFile(test::BinDir() + QStringLiteral("Help/Kezikonyv.html"))
                  .contains("Verzi\xC3\xB3: 1.07<"));
  auto* tabs = Find<QTabWidget>("MainPC");
  ASSERT_TRUE(tabs);
  EXPECT_EQ(tabs->tabText(0), QStringLiteral("  Könyvelési/ÁFA adatok betöltése  "));
  EXPECT_EQ(tabs->tabText(1), QStringLiteral("  XML ÁFA bevallás készítése"));
  EXPECT_EQ(tabs->currentIndex(), 0);

  EXPECT_EQ(Find<QAbstractButton>("SelectFileBtn")->text().remove(QLatin1Char('&')),
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

// Closes the next modal box when it shows and keeps what it said and what the window showed
// behind it at that moment.
struct BoxWatcher {
  QString Text;
  QString FileNameShown;
  void Arm(QWidget* window) {
    QTimer::singleShot(0, [this, window] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        Text = box->text();
        if (auto* e = window->findChild<QLineEdit*>(QStringLiteral("FileNameEd")))
          FileNameShown = e->text();
        box->accept();
      }
    });
  }
};

TEST_F(MainWindowTest, EveryControlOfTheStateHasItsWidget) {
  EXPECT_TRUE(window->Binder().Unbound().isEmpty())
      << window->Binder().Unbound().join(QLatin1Char(' ')).toStdString();
  for (const NamedControl& c : window->Form().State.Controls())
    EXPECT_NE(window->findChild<QObject*>(c.Name), nullptr) << c.Name.toStdString();
}

TEST_F(MainWindowTest, UserEditsOfEveryKindReachTheState) {
  MainFormState& s = window->Form().State;
  s.AdoszamColCbx.Items = QStringList{QStringLiteral("Kérem, jelölje ki"), QStringLiteral("a")};
  s.AdoszamColCbx.ItemIndex = 0;
  s.AdoszamColCbx.Enabled = true;
  window->Render();
  Find<QComboBox>("AdoszamColCbx")->setCurrentIndex(1);
  Find<QLineEdit>("DateFormEd")->setText(QStringLiteral("yyyy.mm.dd"));
  Find<QCheckBox>("HeaderCbx")->setChecked(true);
  Find<QDateEdit>("IdoszakADtPick")->setDate(QDate(2025, 1, 1));
  Find<QComboBox>("DecSepCbx")->setCurrentIndex(1);
  window->Run([] {});
  EXPECT_EQ(s.AdoszamColCbx.ItemIndex, 1);
  EXPECT_EQ(s.DateFormEd.Text, QStringLiteral("yyyy.mm.dd"));
  EXPECT_TRUE(s.HeaderCbx.Checked);
  EXPECT_EQ(s.IdoszakADtPick.Date, QDate(2025, 1, 1));
  EXPECT_EQ(s.DecSepCbx.ItemIndex, 1);
}

TEST_F(MainWindowTest, ARenderFiresNoHandler) {
  // Refilling a combo fires its change signal; that must not count as the user's choice.
  MainFormState& s = window->Form().State;
  s.DecSepCbx.ItemIndex = 0;
  int runs = 0;
  QObject::connect(Find<QComboBox>("DecSepCbx"), &QComboBox::currentIndexChanged, window.get(),
                   [&] { window->Run([&] { ++runs; }); });
  window->Render();
  EXPECT_EQ(runs, 0);
  EXPECT_EQ(Find<QComboBox>("DecSepCbx")->currentIndex(), 0);
}

TEST_F(MainWindowTest, AWidenedGridColumnStaysAfterAnotherButton) {
  MainFormState& s = window->Form().State;
  s.InputDataSG.Resize(2, 6);
  s.InputDataSG.Cells[1][0] = QStringLiteral("x");
  s.InputDataSG.ColWidths[0] = 1;
  window->Render();
  auto* grid = Find<QTableWidget>("InputDataSG");
  grid->setColumnWidth(0, 333);
  window->Run([&] { s.NyomtVerEd.Text = QStringLiteral("1.1"); });
  EXPECT_EQ(grid->columnWidth(0), 333);
  window->Run([&] { s.InputDataSG.Cells[1][0] = QStringLiteral("y"); });  // new content: redrawn
  EXPECT_NE(grid->columnWidth(0), 333);
}

TEST_F(MainWindowTest, MarkedCellsFollowTheStateAndAPickedFormatReachesTheField) {
  MainFormState& s = window->Form().State;
  s.InputDataSG.Resize(3, 2);
  s.InputDataSG.FixedRows = 1;
  s.InputDataSG.Marks = {{2, 1, QStringLiteral("„x” nem összeg")}};
  window->Render();
  auto* grid = Find<QTableWidget>("InputDataSG");
  // grid row 2 is the table's second row under the header
  EXPECT_EQ(grid->item(1, 1)->toolTip(), QStringLiteral("„x” nem összeg"));
  const QBrush plain = grid->item(0, 0)->background();
  EXPECT_NE(grid->item(1, 1)->background(), plain);
  window->Run([&] { s.InputDataSG.Marks.clear(); });
  EXPECT_EQ(grid->item(1, 1)->toolTip(), QString());
  EXPECT_EQ(grid->item(1, 1)->background(), plain);

  s.OsszegCheckBBtn.Mark = CheckMark::Failed;
  s.OsszegCheckBBtn.Hint = QStringLiteral("Az előnézet 2. sora");
  s.DateFormChoicesBtn.Items =
      QStringList{QStringLiteral("dd.mm.yyyy"), QStringLiteral("mm.dd.yyyy")};
  s.DateFormChoicesBtn.Enabled = s.DateFormEd.Enabled = true;
  window->Render();
  EXPECT_EQ(Find<QAbstractButton>("OsszegCheckBBtn")->toolTip(),
            QStringLiteral("Az ellenőrzés megbukott\nAz előnézet 2. sora"));
  auto* choices = Find<QToolButton>("DateFormChoicesBtn");
  ASSERT_TRUE(choices->isEnabled());
  ASSERT_EQ(choices->menu()->actions().size(), 2);
  choices->menu()->actions()[1]->trigger();
  EXPECT_EQ(s.DateFormEd.Text, QStringLiteral("mm.dd.yyyy"));
  EXPECT_EQ(Find<QLineEdit>("DateFormEd")->text(), QStringLiteral("mm.dd.yyyy"));
}

TEST_F(MainWindowTest, AThrowingHandlerShowsAnErrorAndTheWindowGoesOn) {
  BoxWatcher box;
  box.Arm(window.get());
  window->Run([&] {
    window->Form().State.FileNameEd.Text = QStringLiteral("/tmp/uj.csv");
    throw ESQLiteException(QStringLiteral("database is locked"));
  });
  EXPECT_EQ(box.Text, QStringLiteral("database is locked"));
  // the box stood over what the handler had set so far
  EXPECT_EQ(box.FileNameShown, QStringLiteral("/tmp/uj.csv"));
  EXPECT_EQ(Find<QLineEdit>("FileNameEd")->text(), QStringLiteral("/tmp/uj.csv"));
  window->Run([&] { window->Form().State.NyomtVerEd.Text = QStringLiteral("3.0"); });
  EXPECT_EQ(Find<QLineEdit>("NyomtVerEd")->text(), QStringLiteral("3.0"));
}

// A box during long work, or right after it (the return that cannot be written): no
// progress window may stay under it, where its timer would show it over the box and
// neither could be closed.
TEST_F(MainWindowTest, ABoxDuringLongWorkClosesTheProgressFirst) {
  QtUserInterface ui(window.get());
  QStringList boxes;
  int progressWindows = 0;  // progress dialogs alive while a box was open
  QTimer closer;
  closer.setInterval(0);
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      boxes << box->text();
      progressWindows += int(window->findChildren<QProgressDialog*>().size());
      box->accept();
    }
  });
  closer.start();
  {
    TProgressScope progress(ui, QStringLiteral("Az XML nyomtatvány készítése…"));
    progress.Report(0, 0);
    ui.Warning(QStringLiteral("közben"));
    progress.Report(1, 2);
  }
  ui.Error(QStringLiteral("Nem sikerült kiírni a fájlt: /proc/x.xml"));
  closer.stop();
  EXPECT_EQ(boxes, (QStringList{QStringLiteral("közben"),
                                QStringLiteral("Nem sikerült kiírni a fájlt: /proc/x.xml")}));
  EXPECT_EQ(progressWindows, 0);
  EXPECT_TRUE(window->findChildren<QProgressDialog*>().isEmpty());
}

// The progress offers "Mégse" only while the work can still be stopped, and a press of it is
// the answer the work gets next.
TEST_F(MainWindowTest, TheProgressOffersCancelOnlyWhereTheWorkCanStop) {
  QtUserInterface ui(window.get());
  TProgressScope progress(ui, QString());
  const CancellableProgressFn preparing = progress.CancellablePhase(QStringLiteral("1/3"));
  const ProgressFn writing = progress.Phase(QStringLiteral("3/3"));
  const auto cancelButton = [this]() -> QPushButton* {
    auto* dialog = window->findChild<QProgressDialog*>();
    if (!dialog) return nullptr;
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
      if (button->text() == QStringLiteral("Mégse")) return button;
    return nullptr;
  };
  EXPECT_TRUE(preparing(0, 10));
  ASSERT_NE(cancelButton(), nullptr);
  writing(0, 0);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(cancelButton(), nullptr);
  EXPECT_TRUE(preparing(1, 10));
  ASSERT_NE(cancelButton(), nullptr);
  cancelButton()->click();
  EXPECT_FALSE(preparing(2, 10));
}

// The log reaches the memo line for line, empty lines included, however many come at once.
TEST_F(MainWindowTest, TheMemoShowsTheLogLineForLine) {
  window->Run([this] {
    for (const char* line : {"", "egy", "", "kettő", ""})
      window->Form().State.XMLGenMm.Append(QString::fromUtf8(line));
  });
  window->Run([this] { window->Form().State.XMLGenMm.Append(QStringLiteral("három")); });
  EXPECT_EQ(Find<QPlainTextEdit>("XMLGenMm")->toPlainText(),
            window->Form().State.XMLGenMm.Lines.join(u'\n'));
  EXPECT_TRUE(Find<QPlainTextEdit>("XMLGenMm")
                  ->toPlainText()
                  .endsWith(QStringLiteral("\n\negy\n\nkettő\n\nhárom")));
}

// One notch of the wheel over the widget, as the application delivers it (to the parents
// too when the widget does not take it).
void Wheel(QWidget* w, int notches) {
  const QPointF at(w->width() / 2.0, w->height() / 2.0);
  QWheelEvent event(at, w->mapToGlobal(at), QPoint(), QPoint(0, -120 * notches), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(w, &event);
}

TEST_F(MainWindowTest, TheWheelChangesAFieldOnlyWithTheFocus) {
  MainFormState& s = window->Form().State;
  s.AdoszamColCbx.Items =
      QStringList{QStringLiteral("Kérem, jelölje ki"), QStringLiteral("a"), QStringLiteral("b")};
  s.AdoszamColCbx.ItemIndex = 1;
  s.AdoszamColCbx.Enabled = true;
  window->Render();
  window->show();
  window->activateWindow();
  QApplication::processEvents();
  auto* column = Find<QComboBox>("AdoszamColCbx");
  auto* from = Find<QDateEdit>("IdoszakADtPick");
  auto* version = Find<QLineEdit>("NyomtVerEd");
  version->setFocus();
  QApplication::processEvents();
  Wheel(column, 1);
  Wheel(from, 1);
  window->Run([] {});
  EXPECT_EQ(column->currentIndex(), 1);
  EXPECT_EQ(s.AdoszamColCbx.ItemIndex, 1);
  EXPECT_EQ(s.IdoszakADtPick.Date, QDate(2026, 12, 1));
  EXPECT_TRUE(version->hasFocus());  // the wheel takes no focus either

  column->setFocus();
  QApplication::processEvents();
  ASSERT_TRUE(column->hasFocus());
  Wheel(column, 1);
  window->Run([] {});
  EXPECT_EQ(s.AdoszamColCbx.ItemIndex, 2);
}

// Keys typed into the focused widget, one press and release each.
void Type(QWidget* w, const QString& text) {
  for (const QChar c : text) {
    const int key = c.isDigit() ? Qt::Key_0 + c.digitValue() : c.unicode();
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
      QKeyEvent event(type, key, Qt::NoModifier, QString(c));
      QApplication::sendEvent(w, &event);
    }
  }
}

TEST_F(MainWindowTest, ADateTypedWithItsSeparatorsIsThatDate) {
  window->show();
  window->activateWindow();
  Find<QTabWidget>("MainPC")->setCurrentIndex(1);
  auto* from = Find<QDateEdit>("IdoszakADtPick");
  for (const QString& typed :
       {QStringLiteral("2024.03.05"), QStringLiteral("2024. 03. 05."), QStringLiteral("20240305"),
        QStringLiteral("2024-03-05"), QStringLiteral("2024.3.5")}) {
    window->Run([&] { window->Form().State.IdoszakADtPick.Date = QDate(2026, 11, 1); });
    Find<QLineEdit>("NyomtVerEd")->setFocus();
    from->setFocus(Qt::TabFocusReason);  // the year is selected, as after a Tab
    QApplication::processEvents();
    ASSERT_TRUE(from->hasFocus());
    Type(from, typed);
    Find<QLineEdit>("NyomtVerEd")->setFocus();
    window->Run([] {});
    EXPECT_EQ(window->Form().State.IdoszakADtPick.Date, QDate(2024, 3, 5)) << typed.toStdString();
  }
}

// A bookkeeper's session: a file loaded, a return, a second one with another option, then a
// setting changed behind the checks.
TEST_F(MainWindowTest, TheWindowNeverShowsChecksOrAReturnThatNoLongerHold) {
  ASSERT_NO_FATAL_FAILURE(StartWithShippedSettings());
  QStringList boxes;
  BoxCloser closer(boxes);
  const QString csv = root.filePath(QStringLiteral("szamlak.csv"));
  // An invoice on two lines, then ten of one line each.
  QByteArray lines =
      "Partner adószáma;Partner neve;Számla sorszáma;Teljesítés dátuma;Nettó összeg;ÁFA összeg\r\n"
      "11111111-2-41;Egy Kft;A/1;2026.12.04;1.400,00;378,00\r\n"
      "11111111-2-41;Egy Kft;A/1;2026.12.04;1.400,00;378,00\r\n";
  for (int i = 0; i < 10; ++i)
    lines +=
        "22222222-2-42;Kettő Bt;B/" + QByteArray::number(i) + ";2026.12.06;2.500,00;675,00\r\n";
  test::WriteFile(csv, lines);
  window->OpenInputFile(csv);
  ASSERT_TRUE(window->Form().InputLoaded()) << boxes.join(u'|').toStdString();
  const QString out = root.filePath(QStringLiteral("ki.xml"));
  Find<QLineEdit>("XMLFileSelectEd")->setText(out);
  auto* step1 = Find<QAbstractButton>("Step1Btn");
  auto* memo = Find<QPlainTextEdit>("XMLGenMm");
  auto* written = Find<QLabel>("LastWrittenXmlLb");
  step1->click();
  EXPECT_EQ(written->text(), QStringLiteral("A bevallás elkészült: ") + out);
  EXPECT_TRUE(
      memo->toPlainText().contains(QStringLiteral("1 esetben történt bizonylat összesítés")));

  // The option unticked: the next return is not combined, whatever ran before.
  Find<QCheckBox>("BizSumCbx")->click();
  const qsizetype before = memo->toPlainText().size();
  step1->click();
  const QString second = memo->toPlainText().mid(before);
  EXPECT_TRUE(second.contains(QStringLiteral("Bizonylat összesítés kihagyva")));
  EXPECT_FALSE(second.contains(QStringLiteral("esetben történt bizonylat összesítés")));
  ASSERT_TRUE(window->Form().Job().Run.Return);
  EXPECT_EQ(window->Form().Job().Run.Return->Counts.IncludedLines, 12);

  // The decimal separator chosen again after the load: checks and counts go, nothing is
  // loaded, and the declaration refuses.
  auto* decSep = Find<QComboBox>("DecSepCbx");
  decSep->setCurrentIndex(1);
  emit decSep->activated(1);
  EXPECT_FALSE(window->Form().InputLoaded());
  EXPECT_EQ(window->Form().State.OsszegCheckBBtn.Mark, CheckMark::Help);
  EXPECT_EQ(Find<QLineEdit>("CsvLoadRowNumEd")->text(), QStringLiteral("?"));
  EXPECT_FALSE(Find<QAbstractButton>("ShowMissedBtn")->isEnabled());
  boxes.clear();
  step1->click();
  EXPECT_EQ(boxes, QStringList{QStringLiteral("Még nem volt sikeres input (CSV) fájl betöltés, "
                                              "nem készíthető XML  nyomtatvány")});

  // A new load begins: the last return is named nowhere.
  decSep->setCurrentIndex(0);
  emit decSep->activated(0);
  Find<QAbstractButton>("ContentCheckBtn")->click();
  EXPECT_TRUE(window->Form().InputLoaded());
  EXPECT_TRUE(written->text().isEmpty());
  EXPECT_TRUE(Find<QLineEdit>("XMLFileSelectEd")->text().isEmpty());

  // The header box is a setting of the structure check: the content panel goes back too.
  Find<QCheckBox>("HeaderCbx")->click();
  EXPECT_FALSE(window->Form().InputLoaded());
  EXPECT_FALSE(Find<QComboBox>("AdoszamColCbx")->isEnabled());
  EXPECT_EQ(window->Form().State.AdoszamCheckBBtn.Mark, CheckMark::Help);
  closer.stop();
}

// Last month's export loaded with the date column and format set by hand: this month's
// export of the layout comes in with them, says so, and its link gives the plain detection.
TEST_F(MainWindowTest, ASavedProfileIsAppliedWithANoteAndUndoneByItsLink) {
  ASSERT_NO_FATAL_FAILURE(StartWithShippedSettings());
  QStringList boxes;
  BoxCloser closer(boxes);
  const QString october = root.filePath(QStringLiteral("export-2026-10.csv"));
  const QString november = root.filePath(QStringLiteral("export-2026-11.csv"));
  test::WriteFile(october, test::UndecidableDateExport(2026, 10));
  test::WriteFile(november, test::UndecidableDateExport(2026, 11));
  const QString identification =
      QStringLiteral("Nem sikerült beazonosítani a szükséges adatokat az input fájlban");
  auto* note = Find<QLabel>("ProfileNoteLb");
  auto* undo = Find<QAbstractButton>("ProfileUndoBtn");

  window->OpenInputFile(october);
  ASSERT_FALSE(window->Form().InputLoaded());
  ASSERT_TRUE(!boxes.isEmpty() && boxes.front().startsWith(identification));
  auto* date = Find<QComboBox>("DatumColCbx");
  date->setCurrentIndex(3);
  emit date->activated(3);
  Find<QLineEdit>("DateFormEd")->setText(QStringLiteral("mm/dd/yyyy"));
  Find<QAbstractButton>("ContentCheckBtn")->click();
  ASSERT_TRUE(window->Form().InputLoaded()) << boxes.join(u'|').toStdString();
  EXPECT_EQ(note->text(), QStringLiteral("Beállítások megjegyezve ehhez a fájlformátumhoz"));
  EXPECT_FALSE(undo->isVisibleTo(window.get()));
  // A quarterly return without combining: what the layout's next file starts with.
  Find<QCheckBox>("BizSumCbx")->click();
  Find<QDateEdit>("IdoszakADtPick")->setDate(QDate(2026, 10, 1));
  Find<QDateEdit>("IdoszakBDtPick")->setDate(QDate(2026, 12, 31));
  Find<QLineEdit>("XMLFileSelectEd")->setText(root.filePath(QStringLiteral("okt.xml")));
  Find<QAbstractButton>("Step1Btn")->click();
  ASSERT_TRUE(QFile::exists(root.filePath(QStringLiteral("okt.xml"))));
  Find<QCheckBox>("BizSumCbx")->click();

  boxes.clear();
  Clock::SetTodayForTesting([] { return QDate(2027, 4, 15); });
  window->OpenInputFile(november);
  ASSERT_TRUE(window->Form().InputLoaded()) << boxes.join(u'|').toStdString();
  EXPECT_FALSE(boxes.join(u'|').contains(identification));
  EXPECT_EQ(note->text(), QStringLiteral("Mentett beállítás alkalmazva: export (%1)")
                              .arg(QDate::currentDate().toString(QStringLiteral("yyyy. MM. dd."))));
  EXPECT_TRUE(undo->isVisibleTo(window.get()));
  EXPECT_EQ(Find<QLineEdit>("DateFormEd")->text(), QStringLiteral("mm/dd/yyyy"));
  EXPECT_FALSE(Find<QCheckBox>("BizSumCbx")->isChecked());
  EXPECT_EQ(Find<QDateEdit>("IdoszakADtPick")->date(), QDate(2027, 1, 1));
  EXPECT_EQ(Find<QDateEdit>("IdoszakBDtPick")->date(), QDate(2027, 3, 31));
  // On the other tab, whose page the tabs keep hidden.
  EXPECT_FALSE(Find<QLabel>("ProfileRunLb")->isHidden());

  boxes.clear();
  undo->click();
  EXPECT_FALSE(window->Form().InputLoaded());
  EXPECT_TRUE(!boxes.isEmpty() && boxes.front().startsWith(identification));
  EXPECT_TRUE(Find<QLineEdit>("DateFormEd")->text().isEmpty());
  EXPECT_TRUE(note->text().contains(QStringLiteral("visszavonva")));
  EXPECT_FALSE(undo->isVisibleTo(window.get()));
  closer.stop();
}

TEST_F(MainWindowTest, TheExitMenuClosesTheWindow) {
  window->show();
  ASSERT_TRUE(window->isVisible());
  Find<QAction>("ExitMenu")->trigger();
  EXPECT_FALSE(window->isVisible());
}

TEST(QtPort, FilterAndLineBreaks) {
  EXPECT_EQ(QtFileFilter(QStringLiteral("Csv files (*.csv) |*.csv|All Files (*.*)|*.*")),
            QStringLiteral("Csv files (*.csv);;All Files (*)"));  // "*.*" hides names without a dot
  EXPECT_EQ(QtFileFilter(QStringLiteral("XML files (*.xml)|*.xml|Any file (*.*)|*.*")),
            QStringLiteral("XML files (*.xml);;Any file (*)"));
  EXPECT_EQ(QtFileFilter(QStringLiteral("Text|*.txt;*.csv")), QStringLiteral("Text (*.txt *.csv)"));
  EXPECT_EQ(QtMessageText(QStringLiteral("a\r\nb\rc")), QStringLiteral("a\nb\nc"));
}

}  // namespace
}  // namespace krinu
