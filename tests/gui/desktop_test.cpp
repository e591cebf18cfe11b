#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcutEvent>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <algorithm>

#include "common/clock.h"
#include "declaration/return_summary.h"
#include "gui/adozok_torzs_dialog.h"
#include "gui/batch_dialog.h"
#include "gui/desktop_integration.h"
#include "gui/help_window.h"
#include "gui/keyboard.h"
#include "gui/main_window.h"
#include "gui/show_missed_dialog.h"
#include "gui/summary_dialog.h"
#include "gui/ugyintezok_torzs_dialog.h"
#include "masterdata/master_database.h"
#include "report/pdf_document.h"
#include "support/test_env.h"

// Qt's entry for a key press that may be a shortcut (what its test library presses keys with).
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k,
                                               Qt::KeyboardModifiers mods, const QString& text,
                                               bool autorep, ushort count);

namespace krinu {
namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "desktop_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

QString Plain(QString text) {
  return text.remove(QLatin1Char('&'));
}

// A 1366x768 screen less a 32-pixel desktop panel and a window frame with its title bar.
constexpr int kRoomWidth = 1366 - 16;
constexpr int kRoomHeight = 768 - 32 - 40;

class DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    Clock::SetTodayForTesting([] { return QDate(2027, 1, 1); });
    env.ProgramPath = root.filePath(QStringLiteral("krinu"));
    env.UserProfile = root.path();
  }
  void TearDown() override { Clock::SetTodayForTesting({}); }
  std::unique_ptr<MainWindow> Window() {
    auto w = std::make_unique<MainWindow>(env);
    EXPECT_TRUE(w->Start());
    return w;
  }
  // A session over a fresh database, for the register windows and the viewer.
  std::unique_ptr<TSession> Session() {
    test::CapturedLog log;
    const QString dir = root.filePath(QStringLiteral("db/"));
    QDir().mkpath(dir);
    auto session = std::make_unique<TSession>(AppEnvironment{});
    session->Db = OpenMasterDatabase(dir, root.path() + QLatin1Char('/'), log).Take();
    return session;
  }
  // At 150 % scaling the same screen has two thirds of the room in the window's own pixels.
  static void ExpectFits(QWidget& w) {
    const QSize min = w.minimumSizeHint();
    EXPECT_LE(min.width(), kRoomWidth * 2 / 3) << w.objectName().toStdString();
    EXPECT_LE(min.height(), kRoomHeight * 2 / 3) << w.objectName().toStdString();
    EXPECT_LE(w.width(), kRoomWidth) << w.objectName().toStdString();
    EXPECT_LE(w.height(), kRoomHeight) << w.objectName().toStdString();
  }

  QTemporaryDir root;
  AppEnvironment env;
};

TEST_F(DesktopTest, StandardButtonsAndDialogsSpeakHungarian) {
  const QString qm =
      QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_hu.qm");
  if (!QFileInfo::exists(qm)) GTEST_SKIP() << "qt6-translations-l10n is not installed";
  ASSERT_TRUE(InstallQtTranslation(App()));
  QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("?"),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Open | QMessageBox::Save |
                      QMessageBox::Cancel);
  EXPECT_EQ(Plain(box.button(QMessageBox::Yes)->text()), QStringLiteral("Igen"));
  EXPECT_EQ(Plain(box.button(QMessageBox::No)->text()), QStringLiteral("Nem"));
  EXPECT_EQ(Plain(box.button(QMessageBox::Open)->text()), QStringLiteral("Megnyitás"));
  EXPECT_EQ(Plain(box.button(QMessageBox::Save)->text()), QStringLiteral("Mentés"));
  EXPECT_EQ(Plain(box.button(QMessageBox::Cancel)->text()), QStringLiteral("Mégse"));
}

TEST_F(DesktopTest, CalendarsAreHungarianWhileTheLogicKeepsTheUserLocale) {
  const QLocale before;
  auto w = Window();
  for (const char* name : {"IdoszakADtPick", "IdoszakBDtPick"}) {
    auto* date = w->findChild<QDateEdit*>(QLatin1String(name));
    ASSERT_TRUE(date && date->calendarWidget()) << name;
    EXPECT_EQ(date->calendarWidget()->locale().language(), QLocale::Hungarian) << name;
    EXPECT_EQ(date->calendarWidget()->locale().monthName(11), QStringLiteral("november"));
  }
  EXPECT_EQ(w->locale().language(), QLocale::Hungarian);
  EXPECT_EQ(QLocale().name(), before.name());  // the default stays the user's
  EXPECT_EQ(w->Session().OutputLocale, QLocale::system());
}

TEST_F(DesktopTest, EveryWindowFitsASmallScreenAndHasTheIcon) {
  auto w = Window();
  ExpectFits(*w);
  EXPECT_FALSE(w->windowIcon().isNull());
  EXPECT_FALSE(ProgramIcon().pixmap(48, 48).isNull());

  auto session = Session();
  AdozokTorzsDialog adozok(*session);
  adozok.setObjectName(QStringLiteral("AdozokTorzsForm"));
  ExpectFits(adozok);
  UgyintezokTorzsDialog ugyintezok(*session);
  ExpectFits(ugyintezok);
  TJob job;
  job.MissedRows = QStringList{QStringLiteral("a;b")};
  ShowMissedDialog missed(job, nullptr);
  ExpectFits(missed);
  BatchDialog batch(*session, nullptr);
  ExpectFits(batch);
  HelpWindow help(test::BinDir() + QStringLiteral("Help/Kezikonyv.html"));
  ExpectFits(help);
}

TEST_F(DesktopTest, RegisterRowsLeaveRoomForAccentedCapitals) {
  auto session = Session();
  AdozokTorzsDialog adozok(*session);
  adozok.show();
  QApplication::processEvents();
  auto* list = adozok.findChild<QListWidget*>(QStringLiteral("AdozokLbx"));
  ASSERT_TRUE(list && list->count() > 0);
  const QFontMetrics fm(list->font());
  EXPECT_GE(list->visualItemRect(list->item(0)).height(),
            fm.boundingRect(QStringLiteral("ŐŰÁÉ")).height() + 2);
}

TEST_F(DesktopTest, ReadOnlyEditsLookReadOnly) {
  auto w = Window();
  for (const char* name : {"FileNameEd", "ColCountPrevEd", "RowCountPrevEd", "CsvLoadRowNumEd",
                           "CsvMissedRowNumEd", "AdoszamFormEd"}) {
    auto* e = w->findChild<QLineEdit*>(QLatin1String(name));
    ASSERT_TRUE(e) << name;
    EXPECT_TRUE(e->isReadOnly()) << name;
    EXPECT_EQ(e->palette().color(QPalette::Active, QPalette::Base),
              e->palette().color(QPalette::Active, QPalette::Window))
        << name;
  }
  auto* editable = w->findChild<QLineEdit*>(QStringLiteral("DateFormEd"));
  ASSERT_TRUE(editable);
  EXPECT_NE(editable->palette().color(QPalette::Active, QPalette::Base),
            editable->palette().color(QPalette::Active, QPalette::Window));
}

TEST_F(DesktopTest, StatusBarNamesTheWrittenFile) {
  auto w = Window();
  auto* label = w->findChild<QLabel*>(QStringLiteral("LastWrittenXmlLb"));
  auto* button = w->findChild<QPushButton*>(QStringLiteral("OpenXmlFolderBtn"));
  ASSERT_TRUE(label && button);
  EXPECT_TRUE(label->text().isEmpty());
  EXPECT_FALSE(button->isVisibleTo(w.get()));
  w->Form().Job().Run.LastWrittenXml = QStringLiteral("/adat/bevallas.xml");
  w->Render();
  EXPECT_EQ(label->text(), QStringLiteral("A bevallás elkészült: /adat/bevallas.xml"));
  EXPECT_TRUE(button->isVisibleTo(w.get()));
  w->Form().Job().Run.LastWrittenXml.clear();  // a later run that wrote nothing
  w->Render();
  EXPECT_TRUE(label->text().isEmpty());
  EXPECT_FALSE(button->isVisibleTo(w.get()));
}

TEST_F(DesktopTest, ADroppedLocalFileIsChosenAndOtherDragsAreRefused) {
  auto w = Window();
  const QString csv = root.filePath(QStringLiteral("be/szamlak.csv"));
  test::WriteFile(csv, "a;b;c;d;e;f\n1;2;3;4;5;6\n");
  const auto drag = [&](const QList<QUrl>& urls) {
    QMimeData mime;
    mime.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.get(), &enter);
    return enter.isAccepted();
  };
  EXPECT_FALSE(drag({QUrl(QStringLiteral("https://example.com/a.csv"))}));
  EXPECT_FALSE(drag({QUrl::fromLocalFile(csv), QUrl(QStringLiteral("https://example.com/b"))}));
  EXPECT_TRUE(drag({QUrl::fromLocalFile(csv)}));

  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(csv)});
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w.get(), &drop);
  // Boxes the chain may show are closed as they come.
  for (int i = 0; i < 20 && w->Form().State.FileNameEd.Text.isEmpty(); ++i) {
    QTimer::singleShot(0, [] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
    });
    QApplication::processEvents();
  }
  EXPECT_EQ(w->Form().State.FileNameEd.Text, csv);
  EXPECT_EQ(w->findChild<QLineEdit*>(QStringLiteral("FileNameEd"))->text(), csv);
}

TEST_F(DesktopTest, ShortcutsAndTheOwnHelpWindow) {
  auto w = Window();
  EXPECT_EQ(w->findChild<QAction*>(QStringLiteral("UserGuideMenu"))->shortcut(),
            QKeySequence(Qt::Key_F1));
  EXPECT_EQ(w->findChild<QAction*>(QStringLiteral("ExitMenu"))->shortcut(),
            QKeySequence(Qt::CTRL | Qt::Key_Q));
  EXPECT_EQ(w->findChild<QAction*>(QStringLiteral("OpenInputShortcut"))->shortcut(),
            QKeySequence(Qt::CTRL | Qt::Key_O));

  const QString guide = root.filePath(QStringLiteral("Help/Kezikonyv.html"));
  test::WriteFile(guide, "<html><body><h1>Krinu kézikönyv</h1><img src=\"kep.png\"></body></html>");
  QImage(4, 4, QImage::Format_RGB32).save(root.filePath(QStringLiteral("Help/kep.png")));
  HelpWindow help(guide);
  EXPECT_TRUE(help.Browser()->toPlainText().contains(QStringLiteral("Krinu kézikönyv")));
  const QVariant image =
      help.Browser()->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("kep.png")));
  EXPECT_TRUE(image.isValid());  // images beside the guide are found
}

// The Alt letter of a shown caption ("&&" is a plain "&"); none when it has no "&".
QChar Accelerator(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != QLatin1Char('&')) continue;
    if (text[i + 1] != QLatin1Char('&')) return text[i + 1].toLower();
    ++i;
  }
  return QChar();
}

// Presses a key in the active window as the system delivers it: the focus widget may claim
// it, otherwise it goes to the shortcut that it matches. With `catching`, the shortcut event
// is taken away from its receiver (no button is clicked) and Receiver names who got it.
class KeyPresser : public QObject {
 public:
  explicit KeyPresser(bool catching) : catching_(catching) { qApp->installEventFilter(this); }
  ~KeyPresser() override { qApp->removeEventFilter(this); }
  void Press(QWidget* window, int key, Qt::KeyboardModifiers mods, const QString& text = {}) {
    receiver_ = nullptr;
    ambiguous_ = false;
    QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : window;
    qt_sendShortcutOverrideEvent(focus, 0, key, mods, text, false, 1);
  }
  QObject* Receiver() const { return receiver_; }
  bool Ambiguous() const { return ambiguous_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!catching_ || event->type() != QEvent::Shortcut) return false;
    receiver_ = watched;
    ambiguous_ = static_cast<QShortcutEvent*>(event)->isAmbiguous();
    return true;
  }

 private:
  bool catching_;
  QObject* receiver_ = nullptr;
  bool ambiguous_ = false;
};

void ShowActive(QWidget* window) {
  window->show();
  window->activateWindow();
  QApplication::processEvents();
}

void EnableAll(QWidget* root) {
  for (QWidget* w : root->findChildren<QWidget*>()) w->setEnabled(true);
}

// Walks every Alt letter of the part of a window that shows at once: its menus and the
// buttons, check boxes and field labels under page. Each is an unaccented letter that
// nothing else there has, and Alt with it reaches its control (a label's, the label, which
// passes the focus on). Returns the names of the fields the labels reach.
QStringList WalkAccelerators(QWidget* window, QWidget* page) {
  struct Mnemonic {
    QChar Letter;
    QObject* Owner;
    QString Name;
  };
  std::vector<Mnemonic> all;
  QStringList reached;
  const auto take = [&all](const QString& text, QObject* owner, const QString& name) {
    const QChar letter = Accelerator(text);
    EXPECT_TRUE(letter >= QLatin1Char('a') && letter <= QLatin1Char('z'))
        << name.toStdString() << ": " << text.toStdString();
    for (const Mnemonic& m : all)
      EXPECT_NE(m.Letter, letter) << m.Name.toStdString() << " and " << name.toStdString();
    if (!letter.isNull()) all.push_back({letter, owner, name});
  };
  auto* bar = window->findChild<QMenuBar*>();
  if (bar)
    for (QAction* a : bar->actions()) take(a->text(), bar, a->text());
  for (QWidget* w : page->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(page)) continue;
    if (qobject_cast<QPushButton*>(w) || qobject_cast<QCheckBox*>(w))
      take(static_cast<QAbstractButton*>(w)->text(), w, w->objectName());
    auto* label = qobject_cast<QLabel*>(w);
    if (label && label->buddy()) {
      take(label->text(), label, label->buddy()->objectName());
      reached << label->buddy()->objectName();
    }
  }
  EnableAll(window);  // a locked panel's letters are walked too
  ShowActive(window);
  KeyPresser keys(true);
  for (const Mnemonic& m : all) {
    const int key = Qt::Key_A + (m.Letter.unicode() - 'a');
    keys.Press(window, key, Qt::AltModifier, QString(m.Letter));
    EXPECT_EQ(keys.Receiver(), m.Owner)
        << "Alt+" << QString(m.Letter).toStdString() << " for " << m.Name.toStdString();
    EXPECT_FALSE(keys.Ambiguous()) << m.Name.toStdString();
  }
  return reached;
}

TEST_F(DesktopTest, EveryAltLetterReachesItsButtonOrField) {
  auto w = Window();
  auto* tabs = w->findChild<QTabWidget*>(QStringLiteral("MainPC"));
  const QStringList input = WalkAccelerators(w.get(), tabs->widget(0));
  for (const char* field :
       {"CsvSeparatorEd", "ColCountPrevEd", "RowCountPrevEd", "AdoszamColCbx", "MegnevezesColCbx",
        "DatumColCbx", "BizSzamColCbx", "AFAAlapColCbx", "AFAColCbx", "DateFormEd", "DecSepCbx",
        "CsvLoadRowNumEd", "CsvMissedRowNumEd"})
    EXPECT_TRUE(input.contains(QLatin1String(field))) << field;
  tabs->setCurrentIndex(1);
  const QStringList xml = WalkAccelerators(w.get(), tabs->widget(1));
  for (const char* field :
       {"AdozokCb", "UgyintezokCb", "IdoszakADtPick", "IdoszakBDtPick", "NyomtVerEd"})
    EXPECT_TRUE(xml.contains(QLatin1String(field))) << field;
  // The letter is added on the screen only: the captions stay as written.
  EXPECT_EQ(w->Form().State.SzerkezetCheckBtn.Caption,
            QStringLiteral("Input File szerkezetének ellenőrzése"));
  EXPECT_EQ(w->findChild<QPushButton*>(QStringLiteral("SzerkezetCheckBtn"))->text(),
            QStringLiteral("Input File s&zerkezetének ellenőrzése"));
  w->close();

  auto session = Session();
  AdozokTorzsDialog adozok(*session);
  EXPECT_EQ(WalkAccelerators(&adozok, &adozok).size(), 5);  // four edits, the search
  adozok.close();
  UgyintezokTorzsDialog ugyintezok(*session);
  EXPECT_EQ(WalkAccelerators(&ugyintezok, &ugyintezok).size(), 4);
  ugyintezok.close();
  TJob job;
  job.MissedRows = QStringList{QStringLiteral("a;b")};
  ShowMissedDialog missed(job, nullptr);
  WalkAccelerators(&missed, &missed);
  missed.close();
  // The summary's save buttons are there once a return is.
  TAFAAdat line;
  line.Adoszam = QStringLiteral("12345678");
  line.Enabled = true;
  job.AFAAdatList.push_back(line);
  job.Run.Return = BuildReturn({}, {}, DeclarationParams(QDate(2024, 1, 1), QDate(2024, 1, 31), {}),
                               job.AFAAdatList, {line.Adoszam.ToString()});
  SummaryDialog summary(job, nullptr);
  EXPECT_EQ(WalkAccelerators(&summary, &summary), QStringList{QStringLiteral("FilterEd")});
}

TEST_F(DesktopTest, CtrlTabAndCtrlPageKeysSwitchTabsWhereverTheFocusIs) {
  auto w = Window();
  auto* tabs = w->findChild<QTabWidget*>(QStringLiteral("MainPC"));
  ShowActive(w.get());
  KeyPresser keys(false);
  for (int page = 0; page < 2; ++page) {
    tabs->setCurrentIndex(page);
    for (QWidget* focus : tabs->widget(page)->findChildren<QWidget*>()) {
      if (focus->focusPolicy() == Qt::NoFocus || !focus->isVisibleTo(tabs->widget(page)) ||
          focus->focusProxy())
        continue;
      using Key = std::pair<Qt::Key, Qt::KeyboardModifiers>;
      for (const auto& [key, mods] :
           {Key{Qt::Key_Tab, Qt::ControlModifier}, Key{Qt::Key_PageDown, Qt::ControlModifier},
            Key{Qt::Key_PageUp, Qt::ControlModifier},
            Key{Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier}}) {
        tabs->setCurrentIndex(page);
        EnableAll(w.get());
        focus->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), focus) << focus->objectName().toStdString();
        keys.Press(w.get(), key, mods);
        EXPECT_EQ(tabs->currentIndex(), 1 - page)
            << QKeySequence(key | mods).toString().toStdString() << " in "
            << focus->metaObject()->className() << " " << focus->objectName().toStdString();
      }
    }
  }
}

TEST_F(DesktopTest, EnterPressesTheButtonOfThePanelItIsPressedIn) {
  auto w = Window();
  auto* enter = w->findChild<EnterPressesButton*>();
  ASSERT_TRUE(enter);
  const auto pressed = [&](const char* focus) -> QString {
    QAbstractButton* b = enter->ButtonFor(w->findChild<QWidget*>(QLatin1String(focus)));
    return b ? b->objectName() : QStringLiteral("-");
  };
  EXPECT_EQ(pressed("CsvSeparatorEd"), QStringLiteral("SzerkezetCheckBtn"));
  EXPECT_EQ(pressed("HeaderCbx"), QStringLiteral("SzerkezetCheckBtn"));
  EXPECT_EQ(pressed("InputDataSG"), QStringLiteral("SzerkezetCheckBtn"));
  EXPECT_EQ(pressed("DatumColCbx"), QStringLiteral("ContentCheckBtn"));
  EXPECT_EQ(pressed("DateFormEd"), QStringLiteral("ContentCheckBtn"));
  EXPECT_EQ(pressed("CsvMissedRowNumEd"), QStringLiteral("ShowMissedBtn"));
  EXPECT_EQ(pressed("AdozokCb"), QStringLiteral("Step1Btn"));
  EXPECT_EQ(pressed("IdoszakBDtPick"), QStringLiteral("Step1Btn"));
  EXPECT_EQ(pressed("NyomtVerEd"), QStringLiteral("Step1Btn"));
  EXPECT_EQ(pressed("UjAdozoBtn"), QStringLiteral("UjAdozoBtn"));  // a focused button itself
  EXPECT_EQ(pressed("XMLGenMm"), QStringLiteral("-"));             // the log keeps its Enter
  EXPECT_EQ(pressed("FileNameEd"), QStringLiteral("-"));
  EXPECT_EQ(pressed("SelectFileBtn"), QStringLiteral("SelectFileBtn"));

  // In a register: a new record is stored, a record chosen from the list is changed.
  auto session = Session();
  UgyintezokTorzsDialog d(*session);
  d.show();
  QStringList boxes;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&boxes] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      boxes << box->text();
      box->accept();
    }
  });
  closer.start(10);
  auto* nev = d.findChild<QLineEdit*>(QStringLiteral("NevEd"));
  nev->setText(QStringLiteral("Kovács Anna"));
  d.findChild<QLineEdit*>(QStringLiteral("TelefonEd"))->setText(QStringLiteral("06 1 234 5678"));
  nev->setFocus();
  QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
  QApplication::sendEvent(nev, &key);
  EXPECT_EQ(boxes, QStringList{QStringLiteral("Új Ügyintéző felvétele megtörtént")});
  auto* list = d.findChild<QListWidget*>(QStringLiteral("UgyintezokLbx"));
  ASSERT_GE(list->count(), 1);
  list->setCurrentRow(0);
  QKeyEvent choose(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
  QApplication::sendEvent(list, &choose);
  nev->setText(QStringLiteral("Kovács Anna dr."));
  nev->setFocus();
  QApplication::sendEvent(nev, &key);
  EXPECT_EQ(boxes.value(1), QStringLiteral("Módosítás végrehajtva"));
}

// The click gives the focus (no part is selected then) and places the cursor; typing
// then replaced nothing and every digit was refused.
TEST_F(DesktopTest, AYearTypedIntoADatePickerAfterAClickIsTaken) {
  auto w = Window();
  w->show();
  w->activateWindow();
  w->findChild<QTabWidget*>(QStringLiteral("MainPC"))->setCurrentIndex(1);
  const auto clickAndType = [](QDateEdit* date, int cursor, const char* digits) {
    auto* line = date->findChild<QLineEdit*>();
    QPoint at(0, line->height() / 2);
    while (at.x() < line->width() && line->cursorPositionAt(at) < cursor) at.rx()++;
    const QPoint global = line->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(line, &press);
    QApplication::sendEvent(line, &release);
    QApplication::processEvents();
    for (const char* d = digits; *d; ++d) {
      QKeyEvent key(QEvent::KeyPress, Qt::Key_0 + (*d - '0'), Qt::NoModifier,
                    QString(QLatin1Char(*d)));
      QApplication::sendEvent(date, &key);
    }
  };
  auto* a = w->findChild<QDateEdit*>(QStringLiteral("IdoszakADtPick"));
  auto* b = w->findChild<QDateEdit*>(QStringLiteral("IdoszakBDtPick"));
  clickAndType(a, 2, "2025");                // inside the year's digits
  EXPECT_EQ(a->date(), QDate(2025, 12, 1));  // the month before "today" otherwise
  clickAndType(b, 13, "2024");               // after the final dot
  EXPECT_EQ(b->date(), QDate(2024, 12, 31));
  clickAndType(b, 7, "03");  // inside the month
  EXPECT_EQ(b->date(), QDate(2024, 3, 31));
}

// The width the browser gave the first picture of the guide, and whether the page scrolls
// sideways.
std::pair<qreal, bool> FirstPicture(QTextBrowser* browser) {
  QApplication::processEvents();
  for (QTextBlock b = browser->document()->begin(); b.isValid(); b = b.next())
    for (auto it = b.begin(); !it.atEnd(); ++it)
      if (it.fragment().charFormat().isImageFormat())
        return {it.fragment().charFormat().toImageFormat().width(),
                browser->horizontalScrollBar()->maximum() > 0};
  return {-1, false};
}

TEST_F(DesktopTest, TheHelpWindowFitsPicturesAndExamplesToItsWidth) {
  const QString guide = root.filePath(QStringLiteral("Help/Kezikonyv.html"));
  test::WriteFile(guide, "<html><body><p>Bevezet\xC3\xA9s</p><p><img src=\"kep.png\"></p><pre>" +
                             QByteArray(300, 'x') + "</pre></body></html>");
  QImage(700, 350, QImage::Format_RGB32).save(root.filePath(QStringLiteral("Help/kep.png")));
  HelpWindow help(guide);
  help.resize(420, 500);
  help.show();
  const auto [narrow, narrowScrolls] = FirstPicture(help.Browser());
  EXPECT_GT(narrow, 100);
  EXPECT_LT(narrow, help.Browser()->viewport()->width());
  EXPECT_FALSE(narrowScrolls);  // neither the picture nor the long example widens the page
  help.resize(1000, 500);
  const auto [wide, wideScrolls] = FirstPicture(help.Browser());
  EXPECT_EQ(wide, 700);  // no larger than it is
  EXPECT_FALSE(wideScrolls);
  EXPECT_EQ(FittedImageSize(QSize(700, 350), 350), QSizeF(350, 175));
}

// A printed table goes on as many A4 pages as its rows need, and a short one on one page.
TEST_F(DesktopTest, APrintedTableTakesThePagesItsRowsNeed) {
  const auto pages = [](int rows) {
    TPrintDocument d;
    d.Title = QStringLiteral("Próba");
    d.Before = QStringLiteral("<h2>Próba</h2>");
    d.TableTitle = QStringLiteral("Sorok");
    d.Columns = {{QStringLiteral("Név"), 70, false}, {QStringLiteral("Összeg"), 30, true}};
    for (int i = 0; i < rows; ++i)
      d.Rows.push_back({QStringLiteral("Partner %1 hosszú névvel, amely két sorba is átfolyhat "
                                       "a keskeny oszlopban")
                            .arg(i),
                        HungarianNumber(1000 * i)});
    d.After = QStringLiteral("<p>Vége</p>");
    const QByteArray pdf = PrintedPdf(d);
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    return pdf.count("/Type /Page\n");
  };
  EXPECT_EQ(pages(1), 1);
  const qsizetype many = pages(400);
  EXPECT_GT(many, 5);
  EXPECT_LT(many, 40);
}

TEST_F(DesktopTest, TheGuidesPicturesShowAtTheirOwnSizeWithTheirCaptionsRightUnder) {
  HelpWindow help(test::BinDir() + QStringLiteral("Help/Kezikonyv.html"));
  help.resize(HelpWindow::kDefaultSize);
  help.show();
  QApplication::processEvents();
  QTextDocument* doc = help.Browser()->document();
  QAbstractTextDocumentLayout* layout = doc->documentLayout();
  int pictures = 0;
  for (QTextBlock b = doc->begin(); b.isValid() && b.next().isValid(); b = b.next()) {
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      if (!it.fragment().charFormat().isImageFormat()) continue;
      const QTextImageFormat image = it.fragment().charFormat().toImageFormat();
      const QSize natural = QImage(test::BinDir() + QStringLiteral("Help/") + image.name()).size();
      EXPECT_EQ(image.width(), natural.width()) << image.name().toStdString();
      // What follows a picture starts right under it, as far as their margins ask, not a
      // part of the picture's height lower.
      const qreal gap =
          layout->blockBoundingRect(b.next()).top() - layout->blockBoundingRect(b).bottom();
      const qreal margins =
          std::max(b.blockFormat().bottomMargin(), b.next().blockFormat().topMargin());
      EXPECT_LE(gap, margins + 1) << image.name().toStdString();
      ++pictures;
    }
  }
  EXPECT_GT(pictures, 10);
}

}  // namespace
}  // namespace krinu
