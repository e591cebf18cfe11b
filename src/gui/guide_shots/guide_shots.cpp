// Takes the user guide's pictures from the real windows: starts the main window as the
// program would, walks it through the three tasks with the bundled example, and saves each
// window (and each box and dialog on the way) as a PNG. Run under xvfb with a fresh HOME by
// scripts/guide-screenshots.sh.
//
//   krinu-guide-shots PROGRAM_DIR EXAMPLE_CSV OUTPUT_DIR

#include <QAbstractButton>
#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QStringEncoder>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTableView>
#include <QTextStream>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QWindow>
#include <deque>
#include <functional>

#include "gui/desktop_integration.h"
#include "gui/help_window.h"
#include "gui/main_window.h"

namespace {

QString outDir;
int failures = 0;

void Say(const QString& text) {
  QTextStream(stderr) << text << Qt::endl;
}

// Lets the windows paint (and the file dialog fill its list).
void Settle(int ms = 400) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

// The guide shows its pictures at their natural size: a main window this wide fits its
// column, and still has its lower panels side by side as at the default size.
constexpr int kShotWidth = 932;

// A rectangle of the screen as `import -window root` would cut it out: a window, or a part
// of one with a pop-up open over it. The window's own rendering where there is no screen to
// read (offscreen runs), without its pop-ups.
void SaveRect(QWidget* w, const QString& name, const QRect& global) {
  w = w->window();
  Settle();
  QPixmap shot;
  QScreen* screen = w->screen();
  if (screen) shot = screen->grabWindow(0, global.x(), global.y(), global.width(), global.height());
  if (shot.isNull() || QGuiApplication::platformName() == QStringLiteral("offscreen"))
    shot = w->grab(QRect(w->mapFromGlobal(global.topLeft()), global.size()));
  const QString path = outDir + QLatin1Char('/') + name + QStringLiteral(".png");
  if (!shot.save(path)) {
    Say(QStringLiteral("cannot save ") + path);
    ++failures;
    return;
  }
  Say(QStringLiteral("saved ") + path);
}

void Save(QWidget* w, const QString& name) {
  SaveRect(w, name, w->window()->frameGeometry());
}

QRect OnScreen(const QWidget* w) {
  return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
}

// The part of the window the guide's text talks about: the named widgets, any pop-up open
// over them, and a little of the window around them.
void SavePart(QWidget* window, const QString& name, const QStringList& parts,
              const QWidget* popup = nullptr) {
  window = window->window();
  QRect part;
  for (const QString& objectName : parts) {
    if (auto* w = window->findChild<QWidget*>(objectName); w && w->isVisible())
      part |= OnScreen(w);
    else {
      Say(QStringLiteral("no visible ") + objectName + QStringLiteral(" for ") + name);
      ++failures;
    }
  }
  constexpr int kAround = 4;  // less than the spacing between two panels
  part = part.adjusted(-kAround, -kAround, kAround, kAround) & window->frameGeometry();
  if (popup && popup->isVisible()) part |= OnScreen(popup);
  SaveRect(window, name, part);
}

// Plays the user's part in the boxes and dialogs that open modally, one handler per box in
// the order they open. A box nobody expected is saved and closed, so the run never hangs.
class ModalPlayer {
 public:
  void Expect(const QString& name, std::function<void(QWidget*)> act) {
    queue_.push_back({name, std::move(act)});
  }
  void Start() { Poll(); }
  bool Done() const { return queue_.empty(); }

 private:
  struct Step {
    QString Name;
    std::function<void(QWidget*)> Act;
  };
  void Poll() {
    QTimer::singleShot(150, [this] { Poll(); });  // first, so nested loops keep polling
    QWidget* modal = QApplication::activeModalWidget();
    if (busy_ || !modal || modal == seen_ || !modal->isVisible()) {
      if (!modal) seen_ = nullptr;
      return;
    }
    seen_ = modal;
    busy_ = true;
    if (queue_.empty()) {
      Say(QStringLiteral("unexpected window ") + modal->objectName() + QStringLiteral(": ") +
          modal->windowTitle());
      Save(modal, QStringLiteral("varatlan-%1").arg(++unexpected_));
      ++failures;
      if (auto* box = qobject_cast<QMessageBox*>(modal))
        box->done(QMessageBox::No);
      else if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    } else {
      Step step = std::move(queue_.front());
      queue_.pop_front();
      Say(QStringLiteral("window ") + step.Name + QStringLiteral(": ") + modal->windowTitle());
      step.Act(modal);
    }
    busy_ = false;
  }
  std::deque<Step> queue_;
  QWidget* seen_ = nullptr;
  bool busy_ = false;
  int unexpected_ = 0;
};

void Close(QWidget* w) {
  if (auto* box = qobject_cast<QMessageBox*>(w)) {
    // Information and warnings have OK only; a question is answered No.
    if (QAbstractButton* no = box->button(QMessageBox::No))
      no->click();
    else
      box->accept();
  } else if (auto* dialog = qobject_cast<QDialog*>(w)) {
    dialog->reject();
  }
}

void SaveAndClose(QWidget* w, const QString& name) {
  Save(w, name);
  Close(w);
}

void ClickLater(QWidget* root, const char* name) {
  if (auto* b = root->findChild<QAbstractButton*>(QLatin1String(name)))
    QMetaObject::invokeMethod(b, &QAbstractButton::click, Qt::QueuedConnection);
  else {
    Say(QStringLiteral("no button ") + QLatin1String(name));
    ++failures;
  }
}

// Types the file's name into the file dialog as a user would, and accepts it. The guide
// shows no file dialog: each system has its own.
void ChooseInDialog(QWidget* w, const QString& path) {
  auto* dialog = qobject_cast<QFileDialog*>(w);
  if (!dialog) {
    Say(QStringLiteral("not a file dialog: ") + w->windowTitle());
    ++failures;
    return Close(w);
  }
  dialog->setDirectory(QFileInfo(path).absolutePath());
  Settle(600);
  if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
    name->setText(QFileInfo(path).fileName());
  else
    dialog->selectFile(path);
  QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
}

void Drop(QWidget* target, const QStringList& files) {
  QList<QUrl> urls;
  for (const QString& f : files) urls << QUrl::fromLocalFile(f);
  QMimeData mime;
  mime.setUrls(urls);
  const QPointF at(target->width() / 2.0, target->height() / 2.0);
  QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  if (!enter.isAccepted()) {
    Say(QStringLiteral("the window refused the drag"));
    ++failures;
    return;
  }
  QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  Settle(600);  // the drop is handled once the drag has ended
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Krinu"));
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QApplication::setWindowIcon(krinu::ProgramIcon());
  krinu::InstallQtTranslation(app);
  if (argc != 4) {
    Say(QStringLiteral("usage: krinu-guide-shots PROGRAM_DIR EXAMPLE_CSV OUTPUT_DIR"));
    return 2;
  }
  const QString programDir = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
  const QString example = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
  outDir = QFileInfo(QString::fromLocal8Bit(argv[3])).absoluteFilePath();
  QDir().mkpath(outDir);

  // The user's own folders in the fresh home: the exports and the returns, in the documents
  // folder as a Windows bookkeeper keeps them.
  const QString home = QDir::homePath();
  const QString exports = home + QStringLiteral("/Dokumentumok/Exportok");
  const QString returns = home + QStringLiteral("/Dokumentumok/Bevallasok");
  QDir().mkpath(exports);
  QDir().mkpath(returns);
  const QString csv = exports + QStringLiteral("/szamlak.csv");
  QFile::remove(csv);
  QFile::copy(example, csv);
  // The same lines and two that the load sets aside: a date that is no date, and VAT over
  // half of the net amount (as many fields as the others: a short record ends the load).
  const QString faulty = exports + QStringLiteral("/szamlak_hibas.csv");
  {
    QFile in(example), out(faulty);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly)) return 1;
    QByteArray bytes = in.readAll();
    if (!bytes.endsWith('\n')) bytes += "\r\n";
    QStringEncoder toExample("windows-1250");  // the example's own code page
    const QString lines = QStringLiteral(
        "12345678-2-42;Kovács és Társa Kft;SZ-2024/01110;2024.11.31;1.000,00;27%;"
        "270,00;1.270,00\r\n"
        "87654321-1-13;Őrség Űrkutató Bt;SZ-2024/01111;2024.11.25;1.000,00;27%;"
        "900,00;1.900,00\r\n");
    bytes += QByteArray(toExample.encode(lines));
    out.write(bytes);
  }
  const QString xml = returns + QStringLiteral("/xx65_2024_11.xml");

  krinu::AppEnvironment env =
      krinu::BuildAppEnvironment(programDir + QStringLiteral("/krinu"), QString(), QString());
  krinu::MainWindow window(env);
  if (!window.Start()) return 1;
  krinu::TMainForm& form = window.Form();
  window.show();
  window.resize(kShotWidth, window.height());
  window.statusBar()->setObjectName(QStringLiteral("StatusBar"));
  Settle();
  if (auto* lower = window.findChild<QBoxLayout*>(QStringLiteral("LowerPanels"));
      !lower || lower->direction() != QBoxLayout::LeftToRight) {
    Say(QStringLiteral("the lower panels do not stand side by side at the pictures' width"));
    ++failures;
  }
  ModalPlayer player;
  player.Start();
  Settle(1000);
  Save(&window, QStringLiteral("foablak-indulas"));

  // Task 1: taking in the file through the open dialog.
  form.OpenDialog.FileName = exports;
  player.Expect(QStringLiteral("megnyitas"), [&](QWidget* w) { ChooseInDialog(w, csv); });
  player.Expect(QStringLiteral("betoltes"),
                [](QWidget* w) { SaveAndClose(w, QStringLiteral("betoltes-uzenet")); });
  window.Run([&] { form.SelectFileBtnClick(); });
  Settle(600);
  SavePart(&window, QStringLiteral("foablak-betoltve"),
           {QStringLiteral("TartalomPanel"), QStringLiteral("BetoltesPanel")});

  // A date format that does not fit the column: the check names and marks the first cell it
  // failed on, and the formats that read the column are offered beside the field.
  window.Run([&] {
    form.State.DateFormEd.Text = QStringLiteral("dd.mm.yyyy");
    form.DateFormEdChange();
  });
  player.Expect(QStringLiteral("ellenorzes-hiba"),
                [](QWidget* w) { SaveAndClose(w, QStringLiteral("ellenorzes-hiba-uzenet")); });
  window.Run([&] { form.ContentCheckBtnClick(); });
  Settle(600);
  SavePart(&window, QStringLiteral("ellenorzes-hiba"),
           {QStringLiteral("SzerkezetPanel"), QStringLiteral("TartalomPanel")});
  if (auto* choices = window.findChild<QToolButton*>(QStringLiteral("DateFormChoicesBtn"))) {
    // popup(), not showMenu(): the latter's own event loop would outlast the pause.
    choices->menu()->popup(choices->mapToGlobal(QPoint(0, choices->height())));
    Settle(600);
    SavePart(&window, QStringLiteral("datum-valasztas"), {QStringLiteral("TartalomPanel")},
             choices->menu());
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  }
  const int offered = form.State.DateFormChoicesBtn.Items.indexOf(QStringLiteral("yyyy.mm.dd"));
  if (offered < 0) {
    Say(QStringLiteral("yyyy.mm.dd is not offered"));
    ++failures;
  }
  window.Run([&] { form.DateFormChoicesBtnClick(offered); });
  player.Expect(QStringLiteral("betoltes-ujra"), [](QWidget* w) { Close(w); });
  window.Run([&] { form.ContentCheckBtnClick(); });

  // Task 2: the registers; the delete's question shows the Hungarian buttons.
  player.Expect(QStringLiteral("adozok"), [&](QWidget* w) {
    if (auto* list = w->findChild<QListWidget*>(QStringLiteral("AdozokLbx"))) {
      list->setCurrentRow(0);
      emit list->itemDoubleClicked(list->item(0));
    }
    Save(w, QStringLiteral("adozok"));
    ClickLater(w, "TorlesBtn");
  });
  player.Expect(QStringLiteral("torles-kerdes"),
                [](QWidget* w) { SaveAndClose(w, QStringLiteral("megerosites")); });
  player.Expect(QStringLiteral("adozok-bezaras"), [](QWidget* w) { ClickLater(w, "BezarBtn"); });
  window.Run([&] { form.AdozokMenuClick(); });
  player.Expect(QStringLiteral("ugyintezok"),
                [](QWidget* w) { SaveAndClose(w, QStringLiteral("ugyintezok")); });
  window.Run([&] { form.UgyintezokMenuClick(); });

  // Task 3: the return for November 2024, the example's month.
  window.Run([&] {
    form.State.MainPCActivePage = 1;
    form.State.IdoszakADtPick.Date = QDate(2024, 11, 1);
    form.State.IdoszakBDtPick.Date = QDate(2024, 11, 30);
  });
  Settle();
  if (auto* from = window.findChild<QDateEdit*>(QStringLiteral("IdoszakADtPick"))) {
    from->setDate(QDate(2024, 11, 1));
    // A click on the arrow opens the calendar pop-up.
    const QPointF arrow(from->width() - 8, from->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, arrow, from->mapToGlobal(arrow), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(from, &press);
    Settle(600);
    QWidget* popup = QApplication::activePopupWidget();
    SavePart(&window, QStringLiteral("naptar"),
             {QStringLiteral("Label2"), QStringLiteral("Step1Btn")}, popup);
    if (popup) popup->close();
  }
  player.Expect(QStringLiteral("mentes"), [&](QWidget* w) { ChooseInDialog(w, xml); });
  window.Run([&] { form.XMLFileSelectBtnClick(); });
  Settle();
  SavePart(&window, QStringLiteral("bevallas-adatok"),
           {QStringLiteral("Label1"), QStringLiteral("UjAdozoBtn"), QStringLiteral("SummaryBtn")});
  window.Run([&] { form.Step1BtnClick(); });
  Settle(600);
  SavePart(&window, QStringLiteral("bevallas-kesz"),
           {QStringLiteral("XMLGenMm"), QStringLiteral("StatusBar")});
  // The summary of the return just written, with the lines of its first partner.
  player.Expect(QStringLiteral("osszesito"), [](QWidget* w) {
    if (auto* partners = w->findChild<QTableView*>(QStringLiteral("PartnerSG"))) {
      emit partners->doubleClicked(partners->model()->index(0, 0));
      Settle(300);
    }
    w->resize(kShotWidth, 620);
    SaveAndClose(w, QStringLiteral("osszesito"));
  });
  window.Run([&] { form.SummaryBtnClick(); });

  // A file dropped onto the window, with lines the load sets aside, and their viewer.
  window.Run([&] { form.State.MainPCActivePage = 0; });
  player.Expect(QStringLiteral("ejtes-betoltes"),
                [](QWidget* w) { SaveAndClose(w, QStringLiteral("ejtes-betoltes-uzenet")); });
  Drop(&window, QStringList{faulty});
  Settle(600);
  SavePart(&window, QStringLiteral("foablak-ejtes-utan"),
           {QStringLiteral("BetoltesPanelTitle"), QStringLiteral("ShowMissedBtn")});
  player.Expect(QStringLiteral("kihagyott"), [](QWidget* w) {
    w->resize(w->width(), 300);  // six rows: the table's lower half would be blank
    SaveAndClose(w, QStringLiteral("kihagyott-sorok"));
  });
  window.Run([&] { form.ShowMissedBtnClick(); });
  player.Expect(QStringLiteral("tobb-fajl"),
                [](QWidget* w) { SaveAndClose(w, QStringLiteral("ejtes-tobb-fajl")); });
  Drop(&window, QStringList{csv, faulty});
  Settle(800);

  // The program's own help window, as a desktop without an HTML viewer shows the guide.
  {
    krinu::HelpWindow help(window.Session().UserGuideFile, &window);
    help.show();
    help.resize(760, 520);
    Settle(800);
    Save(&help, QStringLiteral("sugo-ablak"));
  }

  if (!player.Done()) {
    Say(QStringLiteral("some expected windows never opened"));
    ++failures;
  }
  window.close();
  return failures == 0 ? 0 : 1;
}
