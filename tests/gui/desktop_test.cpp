#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

#include "common/clock.h"
#include "gui/adozok_torzs_dialog.h"
#include "gui/desktop_integration.h"
#include "gui/help_window.h"
#include "gui/main_window.h"
#include "gui/show_missed_dialog.h"
#include "gui/ugyintezok_torzs_dialog.h"
#include "masterdata/master_database.h"
#include "support/test_env.h"

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
    session->Db = OpenMasterDatabase(dir, root.path() + QLatin1Char('/'), log);
    return session;
  }
  static void ExpectFits(QWidget& w) {
    const QSize min = w.minimumSizeHint();
    EXPECT_LE(min.width(), kRoomWidth) << w.objectName().toStdString();
    EXPECT_LE(min.height(), kRoomHeight) << w.objectName().toStdString();
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
  session->MissedRows = QStringList{QStringLiteral("a;b")};
  ShowMissedDialog missed(*session, nullptr);
  ExpectFits(missed);
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
  w->Session().LastWrittenXml = QStringLiteral("/adat/bevallas.xml");
  w->Render();
  EXPECT_EQ(label->text(), QStringLiteral("A bevallás elkészült: /adat/bevallas.xml"));
  EXPECT_TRUE(button->isVisibleTo(w.get()));
  w->Session().LastWrittenXml.clear();  // a later run that wrote nothing
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

}  // namespace
}  // namespace krinu
