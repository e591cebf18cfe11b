#include "gui/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <memory>

#include "app/handler_runner.h"
#include "gui/control_render.h"
#include "gui/desktop_integration.h"
#include "gui/keyboard.h"
#include "gui/secondary_windows.h"
#include "gui/wheel_focus.h"

namespace krinu {
namespace {

// A tab's page in a frameless scroll area: on a small or scaled screen the window still
// fits, and what does not fit scrolls instead of being cut off.
QScrollArea* Scrolled(QWidget* page) {
  auto* area = new QScrollArea;
  area->setWidgetResizable(true);
  area->setFrameShape(QFrame::NoFrame);
  area->setWidget(page);
  // An Alt letter or a click moves the focus as Tab does: the field comes into sight too.
  QObject::connect(qApp, &QApplication::focusChanged, area, [area, page](QWidget*, QWidget* now) {
    if (now && now != page && page->isAncestorOf(now)) area->ensureWidgetVisible(now, 16, 16);
  });
  return area;
}

}  // namespace

MainWindow::MainWindow(AppEnvironment env, QWidget* parent)
    : QMainWindow(parent),
      ui_(this),
      session_(std::move(env)),
      form_(std::make_unique<TMainForm>(ui_, session_)),
      binder_(form_->State.Controls()) {
  setObjectName(QStringLiteral("MainForm"));
  setLocale(InterfaceLocale());
  setWindowIcon(ProgramIcon());
  setAcceptDrops(true);
  form_->RememberRecentFiles = true;
  form_->ProfileUse = TMainForm::TProfileUse::Auto;
  form_->SaveCorrections = true;
  form_->PreselectFromProfile = true;
  ui_.ShowModalHandler = [this](SecondaryWindow w) { ShowSecondary(w); };
  // A box shows over the window as the handler has set it so far.
  ui_.BeforeModal = [this] { Render(); };
  BuildMenu();
  pages_ = new QTabWidget(this);
  pages_->setObjectName(QStringLiteral("MainPC"));
  QScrollArea* input = Scrolled(BuildInputTab());
  WrapWhenNarrow(input, input->findChild<QBoxLayout*>(QStringLiteral("LowerPanels")));
  pages_->addTab(input, form_->State.InputTS.Caption);
  pages_->addTab(Scrolled(BuildXmlTab()), form_->State.XMLGenTS.Caption);
  pages_->widget(0)->setObjectName(QStringLiteral("InputTS"));
  pages_->widget(1)->setObjectName(QStringLiteral("XMLGenTS"));
  binder_.Caption(QStringLiteral("InputTS"),
                  [this](const CaptionControl& c) { pages_->setTabText(0, c.Caption); });
  binder_.Caption(QStringLiteral("XMLGenTS"),
                  [this](const CaptionControl& c) { pages_->setTabText(1, c.Caption); });
  connect(pages_, &QTabWidget::currentChanged, this, [this](int index) {
    Run([this, index] {
      form_->State.MainPCActivePage = index;
      if (index == 1)
        form_->XMLGenTSShow();
      else
        form_->InputTSShow();
    });
  });
  binder_.Custom([this] { pages_->setCurrentIndex(form_->State.MainPCActivePage); },
                 [this] { form_->State.MainPCActivePage = pages_->currentIndex(); });
  setCentralWidget(pages_);
  SwitchTabsFromAnywhere(pages_);
  BuildStatusBar();
  SetUpKeyboard();
  WheelChangesOnlyWithFocus(this);
  PlaceOnScreen(this, QSize(1000, 660));
  Render();
}

// What the tallest page asks for (the first tab's panels keep their room whether a file is
// loaded or not), with the menus, the tab bar and the status bar: its scroll area shows a
// scroll bar as soon as it has less.
int MainWindow::HeightForPages() const {
  int page = 0;
  for (int i = 0; i < pages_->count(); ++i)
    if (auto* area = qobject_cast<QScrollArea*>(pages_->widget(i)))
      page = std::max(page, area->widget()->sizeHint().height());
  const int frame = 2 * pages_->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, pages_);
  return page + pages_->tabBar()->sizeHint().height() + frame + menuBar()->sizeHint().height() +
         statusBar()->sizeHint().height() + 4;
}

MainWindow::~MainWindow() = default;

bool MainWindow::Start() {
  form_->FormCreate();
  Render();
  // Sized once the start-up has filled the window and the style has dressed it.
  ensurePolished();
  PlaceOnScreen(this, QSize(1000, std::max(660, HeightForPages())));
  // Where the user left it, when a screen still shows that place.
  const QRect last = form_->Recent().Window;
  for (const QScreen* screen : QGuiApplication::screens())
    if (last.isValid() && screen->availableGeometry().intersects(last)) {
      setGeometry(last);
      if (form_->Recent().Maximized) setWindowState(windowState() | Qt::WindowMaximized);
      break;
    }
  return form_->Startup() != TStartup::Aborted;
}

void MainWindow::Run(const std::function<void()>& handler) {
  if (binder_.Rendering()) return;  // a widget changed by the render, not by the user
  binder_.Sync();
  RunHandler(ui_, handler);
  Render();
  if (form_->State.CloseRequested) close();
}

void MainWindow::OpenInputFile(const QString& path) {
  // As the open dialog gives it: with the system's separators, on the tab that shows it.
  Run([this, path] {
    form_->State.MainPCActivePage = 0;
    form_->OpenInputFile(QDir::toNativeSeparators(path));
  });
}

void MainWindow::Render() {
  if (binder_.Rendering()) return;
  setWindowTitle(form_->State.Caption);
  binder_.Render();
  RenderFocus(this, form_->State.FocusedControl);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  form_->WindowClosing(normalGeometry(), isMaximized());
  form_->FormClose();
  event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  AcceptFileDrag(event);
}

void MainWindow::dropEvent(QDropEvent* event) {
  TakeDroppedFiles(event, this, [this](const QStringList& paths) {
    Run([this, paths] { form_->FilesDropped(paths); });
  });
}

void MainWindow::ShowSecondary(SecondaryWindow window) {
  const bool needsDb = window == SecondaryWindow::Adozok || window == SecondaryWindow::Ugyintezok;
  if (needsDb && !session_.Db) return;
  ShowSecondaryWindow(this, window, session_, form_->Job());
}

// ---- layout ----------------------------------------------------------------------

// Alt letters for the labelled fields, Tab through the panels top to bottom and left to
// right, and Enter pressing the button of the panel the focus is in.
void MainWindow::SetUpKeyboard() {
  LinkLabels(this, {{QStringLiteral("Label5"), QStringLiteral("CsvSeparatorEd")},
                    {QStringLiteral("ColCountPrevLb"), QStringLiteral("ColCountPrevEd")},
                    {QStringLiteral("RowCountPrevLb"), QStringLiteral("RowCountPrevEd")},
                    {QStringLiteral("AdoszamColLb"), QStringLiteral("AdoszamColCbx")},
                    {QStringLiteral("MegnevezesColLb"), QStringLiteral("MegnevezesColCbx")},
                    {QStringLiteral("DatumColLb"), QStringLiteral("DatumColCbx")},
                    {QStringLiteral("BizSzamColLb"), QStringLiteral("BizSzamColCbx")},
                    {QStringLiteral("AFAAlapColLb"), QStringLiteral("AFAAlapColCbx")},
                    {QStringLiteral("AFAColLb"), QStringLiteral("AFAColCbx")},
                    {QStringLiteral("Label21"), QStringLiteral("DateFormEd")},
                    {QStringLiteral("Label19"), QStringLiteral("DecSepCbx")},
                    {QStringLiteral("CsvLoadRowNumLb"), QStringLiteral("CsvLoadRowNumEd")},
                    {QStringLiteral("CsvMissedRowNumLb"), QStringLiteral("CsvMissedRowNumEd")},
                    {QStringLiteral("Label1"), QStringLiteral("AdozokCb")},
                    {QStringLiteral("Label4"), QStringLiteral("UgyintezokCb")},
                    {QStringLiteral("Label2"), QStringLiteral("IdoszakADtPick")},
                    {QStringLiteral("Label3"), QStringLiteral("IdoszakBDtPick")},
                    {QStringLiteral("Label23"), QStringLiteral("NyomtVerEd")}});
  ChainTabOrder(this, {QStringLiteral("SelectFileBtn"),      QStringLiteral("FileNameEd"),
                       QStringLiteral("HeaderCbx"),          QStringLiteral("CsvSeparatorEd"),
                       QStringLiteral("InputDataSG"),        QStringLiteral("ColCountPrevEd"),
                       QStringLiteral("RowCountPrevEd"),     QStringLiteral("SzerkezetCheckBtn"),
                       QStringLiteral("AdoszamColCbx"),      QStringLiteral("MegnevezesColCbx"),
                       QStringLiteral("DatumColCbx"),        QStringLiteral("BizSzamColCbx"),
                       QStringLiteral("AFAAlapColCbx"),      QStringLiteral("AFAColCbx"),
                       QStringLiteral("AdoszamFormEd"),      QStringLiteral("DateFormEd"),
                       QStringLiteral("DateFormChoicesBtn"), QStringLiteral("DecSepCbx"),
                       QStringLiteral("ContentCheckBtn"),    QStringLiteral("CsvLoadRowNumEd"),
                       QStringLiteral("CsvMissedRowNumEd"),  QStringLiteral("ShowMissedBtn"),
                       QStringLiteral("ShowLoadWarningsBtn")});
  ChainTabOrder(this, {QStringLiteral("AdozokCb"), QStringLiteral("UjAdozoBtn"),
                       QStringLiteral("UgyintezokCb"), QStringLiteral("UjUgyintezoBtn"),
                       QStringLiteral("XMLFileSelectBtn"), QStringLiteral("XMLFileSelectEd"),
                       QStringLiteral("OverWriteXmlFileCbx"), QStringLiteral("IdoszakADtPick"),
                       QStringLiteral("IdoszakBDtPick"), QStringLiteral("NyomtVerEd"),
                       QStringLiteral("BizSumCbx"), QStringLiteral("DropZeroItemsCbx"),
                       QStringLiteral("Step1Btn"), QStringLiteral("XMLGenMm")});
  enter_ = new EnterPressesButton(this);
  const auto button = [this](const char* name) {
    return findChild<QAbstractButton*>(QLatin1String(name));
  };
  const auto widget = [this](const char* name) { return findChild<QWidget*>(QLatin1String(name)); };
  enter_->Add({widget("SelectFileBtn")}, button("SelectFileBtn"));
  enter_->Add({widget("SzerkezetPanel")}, button("SzerkezetCheckBtn"));
  enter_->Add({widget("TartalomPanel")}, button("ContentCheckBtn"));
  enter_->Add({widget("BetoltesPanel")}, button("ShowMissedBtn"));
  enter_->Add({widget("XMLGenPage")}, button("Step1Btn"));
  Render();
}

void MainWindow::BuildMenu() {
  QMenu* file = binder_.Menu(menuBar()->addMenu(QString()), QStringLiteral("FileMenu"));
  connect(binder_.MenuAction(file, QStringLiteral("KotegMenu")), &QAction::triggered, this,
          [this] { Run([this] { form_->KotegMenuClick(); }); });
  file->addSeparator();
  QAction* exit = binder_.MenuAction(file, QStringLiteral("ExitMenu"));
  exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  BuildRecentFilesMenu(file, exit);
  connect(exit, &QAction::triggered, this, [this] { Run([this] { form_->ExitMenuClick(); }); });
  // Ctrl+O is the file button from anywhere in the window; the file shows on the first tab.
  auto* open = new QAction(this);
  open->setObjectName(QStringLiteral("OpenInputShortcut"));
  open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  addAction(open);
  connect(open, &QAction::triggered, this, [this] {
    if (!form_->State.SelectFileBtn.Enabled) return;
    Run([this] {
      form_->State.MainPCActivePage = 0;
      form_->SelectFileBtnClick();
    });
  });
  QMenu* torzs = binder_.Menu(menuBar()->addMenu(QString()), QStringLiteral("TorzsMenu"));
  connect(binder_.MenuAction(torzs, QStringLiteral("AdozokMenu")), &QAction::triggered, this,
          [this] { Run([this] { form_->AdozokMenuClick(); }); });
  connect(binder_.MenuAction(torzs, QStringLiteral("UgyintezokMenu")), &QAction::triggered, this,
          [this] { Run([this] { form_->UgyintezokMenuClick(); }); });
  torzs->addSeparator();
  connect(binder_.MenuAction(torzs, QStringLiteral("ProfilesMenu")), &QAction::triggered, this,
          [this] { Run([this] { form_->ProfilesMenuClick(); }); });
  QMenu* help = binder_.Menu(menuBar()->addMenu(QString()), QStringLiteral("Segtsg1"));
  QAction* guide = binder_.MenuAction(help, QStringLiteral("UserGuideMenu"));
  guide->setShortcut(QKeySequence(Qt::Key_F1));
  connect(guide, &QAction::triggered, this,
          [this] { Run([this] { form_->UserGuideMenuClick(); }); });
}

// The input files opened last, above the exit item, numbered for the keyboard; choosing one
// opens it as the open dialog would.
void MainWindow::BuildRecentFilesMenu(QMenu* file, QAction* exit) {
  file->setToolTipsVisible(true);
  QAction* separator = file->insertSeparator(exit);
  auto shown = std::make_shared<QStringList>();
  auto actions = std::make_shared<std::vector<QAction*>>();
  binder_.Custom([this, file, exit, separator, shown, actions] {
    const QStringList& files = form_->Recent().Files;
    separator->setVisible(!files.isEmpty());
    if (*shown == files) return;
    *shown = files;
    // The chosen item may be the one whose signal is still running.
    for (QAction* a : *actions) {
      file->removeAction(a);
      a->deleteLater();
    }
    actions->clear();
    const QFontMetrics fm(file->font());
    for (qsizetype i = 0; i < files.size(); ++i) {
      const QString path = files[i];
      // A long path keeps its file name and the start of its folder.
      const QString text = fm.elidedText(path, Qt::ElideMiddle, 60 * fm.averageCharWidth());
      auto* a = new QAction(QStringLiteral("&%1  %2").arg(i + 1).arg(
                                QString(text).replace(QLatin1Char('&'), QStringLiteral("&&"))),
                            file);
      a->setObjectName(QStringLiteral("RecentFile%1").arg(i + 1));
      a->setToolTip(path);
      file->insertAction(separator, a);
      connect(a, &QAction::triggered, this, [this, path] {
        if (!form_->State.SelectFileBtn.Enabled) return;
        Run([this, path] {
          form_->State.MainPCActivePage = 0;
          form_->OpenRecentFile(path);
        });
      });
      actions->push_back(a);
    }
  });
}

// After a run that wrote its file: which file, and a way to its folder.
void MainWindow::BuildStatusBar() {
  auto* written = new QLabel;
  written->setObjectName(QStringLiteral("LastWrittenXmlLb"));
  written->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* openFolder = new QPushButton(QStringLiteral("Mappa megnyitása"));
  openFolder->setObjectName(QStringLiteral("OpenXmlFolderBtn"));
  openFolder->setAutoDefault(false);
  openFolder->setFocusPolicy(Qt::NoFocus);
  auto* summary = new QPushButton(QStringLiteral("Összesítő"));
  summary->setObjectName(QStringLiteral("StatusSummaryBtn"));
  summary->setAutoDefault(false);
  summary->setFocusPolicy(Qt::NoFocus);
  statusBar()->addWidget(written, 1);
  statusBar()->addPermanentWidget(summary);
  statusBar()->addPermanentWidget(openFolder);
  connect(summary, &QPushButton::clicked, this,
          [this] { Run([this] { form_->SummaryBtnClick(); }); });
  connect(openFolder, &QPushButton::clicked, this, [this] {
    const QString& file = form_->Job().Run.LastWrittenXml;
    if (!file.isEmpty()) ui_.OpenDocument(FolderOf(file));
  });
  binder_.Custom([this, written, openFolder, summary] {
    const QString& file = form_->Job().Run.LastWrittenXml;
    // Until a return is written, what start-up had to settle stands here.
    QStringList notices = form_->Session().Notices;
    if (form_->Startup() != TStartup::NotStarted && !form_->Session().Db)
      notices.prepend(
          QStringLiteral("Az adózók és az ügyintézők nem érhetők el: az adatbázis nem "
                         "használható (lásd a naplót és a hibaüzenetet)"));
    for (QString& notice : notices) notice[0] = notice[0].toUpper();
    written->setText(file.isEmpty() ? notices.join(QStringLiteral(" · "))
                                    : QStringLiteral("A bevallás elkészült: ") + file);
    openFolder->setVisible(!file.isEmpty());
    summary->setVisible(!file.isEmpty() && form_->State.SummaryBtn.Enabled);
  });
}

QFrame* MainWindow::MakePanel(const QString& name, QWidget*& body) {
  auto* panel = new QFrame;
  panel->setObjectName(name);
  panel->setFrameShape(QFrame::StyledPanel);
  auto* v = new QVBoxLayout(panel);
  v->setContentsMargins(0, 0, 0, 6);
  v->setSpacing(4);
  QLabel* bar = binder_.Label(name + QStringLiteral("Title"));
  bar->setAutoFillBackground(true);
  QPalette pal = bar->palette();
  pal.setColor(QPalette::Window, pal.color(QPalette::Highlight));
  pal.setColor(QPalette::WindowText, pal.color(QPalette::HighlightedText));
  pal.setColor(QPalette::Disabled, QPalette::Window, pal.color(QPalette::Mid));
  bar->setPalette(pal);
  QFont f = bar->font();
  f.setBold(true);
  bar->setFont(f);
  bar->setContentsMargins(8, 3, 8, 3);
  v->addWidget(bar);
  body = new QWidget;
  v->addWidget(body, 1);
  return panel;
}

QWidget* MainWindow::BuildInputTab() {
  auto* page = new QWidget;
  auto* v = new QVBoxLayout(page);

  auto* top = new QHBoxLayout;
  QAbstractButton* selectFile = binder_.Button(QStringLiteral("SelectFileBtn"));
  selectFile->setToolTip(QStringLiteral("Ctrl+O; a CSV fájl az ablakra is húzható"));
  connect(selectFile, &QAbstractButton::clicked, this,
          [this] { Run([this] { form_->SelectFileBtnClick(); }); });
  top->addWidget(selectFile);
  top->addWidget(binder_.Edit(QStringLiteral("FileNameEd"), true), 1);
  v->addLayout(top);

  // What the layout's saved settings did, with their undo; shown only when there is news.
  auto* profileRow = new QWidget;
  profileRow->setObjectName(QStringLiteral("ProfileNoteRow"));
  auto* note = new QHBoxLayout(profileRow);
  note->setContentsMargins(4, 0, 4, 0);
  QLabel* noteLb = binder_.Label(QStringLiteral("ProfileNoteLb"));
  noteLb->setTextInteractionFlags(Qt::TextSelectableByMouse);
  note->addWidget(noteLb);
  auto* dash = new QLabel(QStringLiteral("—"));
  note->addWidget(dash);
  QAbstractButton* undo = binder_.Button(QStringLiteral("ProfileUndoBtn"));
  undo->setToolTip(
      QStringLiteral("A fájl a mentett beállítás nélkül, az automatikus felismerés szerint"));
  if (auto* flat = qobject_cast<QPushButton*>(undo)) flat->setFlat(true);
  undo->setCursor(Qt::PointingHandCursor);
  QFont link = undo->font();
  link.setUnderline(true);
  undo->setFont(link);
  connect(undo, &QAbstractButton::clicked, this,
          [this] { Run([this] { form_->ProfileUndoBtnClick(); }); });
  note->addWidget(undo);
  note->addStretch(1);
  // The short note of an applied profile keeps its link right beside it; a longer one (a
  // profiles file set aside, with its path) wraps in the tab's width rather than widening it.
  binder_.Custom([this, profileRow, note, noteLb, dash, undo] {
    const bool undoable = form_->State.ProfileUndoBtn.Enabled;
    profileRow->setVisible(!form_->State.ProfileNoteLb.Caption.isEmpty());
    dash->setVisible(undoable);
    undo->setVisible(undoable);
    noteLb->setWordWrap(!undoable);
    note->setStretch(0, undoable ? 0 : 1);  // the note, then its dash, link and the rest
    note->setStretch(3, undoable ? 1 : 0);
  });
  v->addWidget(profileRow);

  QWidget* body = nullptr;
  QFrame* szerkezet = MakePanel(QStringLiteral("SzerkezetPanel"), body);
  {
    auto* g = new QVBoxLayout(body);
    g->setContentsMargins(8, 2, 8, 0);
    auto* row = new QHBoxLayout;
    QCheckBox* header = binder_.Check(QStringLiteral("HeaderCbx"));
    connect(header, &QAbstractButton::clicked, this,
            [this] { Run([this] { form_->StructureSettingChange(); }); });
    row->addWidget(header);
    row->addSpacing(24);
    row->addWidget(binder_.Label(QStringLiteral("Label5")));
    QLineEdit* sep = binder_.Edit(QStringLiteral("CsvSeparatorEd"), false, 1);
    sep->setFixedWidth(sep->fontMetrics().horizontalAdvance(QStringLiteral("MM")) + 16);
    sep->setAlignment(Qt::AlignCenter);
    sep->setToolTip(QStringLiteral("Általában vessző, vagy pontosvessző"));
    connect(sep, &QLineEdit::textEdited, this,
            [this] { Run([this] { form_->StructureSettingChange(); }); });
    row->addWidget(sep);
    row->addSpacing(24);
    row->addWidget(binder_.Label(QStringLiteral("Label24")));
    QLabel* cp = binder_.Label(QStringLiteral("CodePageLb"));
    QFont bold = cp->font();
    bold.setBold(true);
    cp->setFont(bold);
    row->addWidget(cp);
    row->addStretch(1);
    g->addLayout(row);
    g->addWidget(binder_.Label(QStringLiteral("Label6")));
    // The grid takes what the panels leave, but never fewer than a header and four rows.
    QTableWidget* grid = binder_.Grid(QStringLiteral("InputDataSG"));
    grid->setMinimumHeight(5 * grid->verticalHeader()->defaultSectionSize() +
                           2 * grid->frameWidth() +
                           grid->horizontalScrollBar()->sizeHint().height());
    g->addWidget(grid, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(binder_.Label(QStringLiteral("ColCountPrevLb")));
    QLineEdit* cols = binder_.Edit(QStringLiteral("ColCountPrevEd"), true);
    cols->setFixedWidth(70);
    cols->setAlignment(Qt::AlignRight);
    bottom->addWidget(cols);
    bottom->addSpacing(16);
    bottom->addWidget(binder_.Label(QStringLiteral("RowCountPrevLb")));
    QLineEdit* rows = binder_.Edit(QStringLiteral("RowCountPrevEd"), true);
    rows->setFixedWidth(90);
    rows->setAlignment(Qt::AlignRight);
    bottom->addWidget(rows);
    bottom->addStretch(1);
    QAbstractButton* check = binder_.Button(QStringLiteral("SzerkezetCheckBtn"));
    connect(check, &QAbstractButton::clicked, this,
            [this] { Run([this] { form_->SzerkezetCheckBtnClick(); }); });
    bottom->addWidget(check);
    g->addLayout(bottom);
  }
  v->addWidget(szerkezet, 1);

  auto* lower = new QHBoxLayout;
  lower->setObjectName(QStringLiteral("LowerPanels"));
  QFrame* tartalom = MakePanel(QStringLiteral("TartalomPanel"), body);
  {
    auto* g = new QGridLayout(body);
    g->setContentsMargins(8, 2, 8, 0);
    g->setHorizontalSpacing(10);
    g->addWidget(binder_.Label(QStringLiteral("Label22")), 0, 2, 1, 2);
    g->addWidget(binder_.Label(QStringLiteral("Label20")), 0, 4);
    const char* rows[6] = {"AdoszamCol", "MegnevezesCol", "DatumCol",
                           "BizSzamCol", "AFAAlapCol",    "AFACol"};
    for (int i = 0; i < 6; ++i) {
      g->addWidget(binder_.Label(QLatin1String(rows[i]) + QStringLiteral("Lb")), i + 1, 0);
      QComboBox* column = binder_.Combo(QLatin1String(rows[i]) + QStringLiteral("Cbx"));
      connect(column, &QComboBox::activated, this,
              [this] { Run([this] { form_->ColumnCbxChange(); }); });
      g->addWidget(column, i + 1, 1);
    }
    QLineEdit* taxForm = binder_.Edit(QStringLiteral("AdoszamFormEd"), true);
    g->addWidget(taxForm, 1, 2, 1, 2);
    g->addWidget(binder_.Label(QStringLiteral("Label21")), 3, 2);
    auto* dateRow = new QHBoxLayout;
    dateRow->setSpacing(2);
    QLineEdit* dateForm = binder_.Edit(QStringLiteral("DateFormEd"), false, 20);
    dateForm->setPlaceholderText(QStringLiteral("pl. yyyy.mm.dd"));
    dateForm->setToolTip(QStringLiteral("yyyy.mm.dd vagy hasonló"));
    connect(dateForm, &QLineEdit::textEdited, this,
            [this] { Run([this] { form_->DateFormEdChange(); }); });
    dateRow->addWidget(dateForm, 1);
    QToolButton* choices = binder_.ChoiceButton(QStringLiteral("DateFormChoicesBtn"));
    choices->setText(QStringLiteral("▾"));
    choices->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; }"));
    choices->setToolTip(
        QStringLiteral("Az oszlop minden értékét olvasó dátum formátumok (a mezőben: Alt+Le)"));
    connect(choices->menu(), &QMenu::triggered, this, [this](QAction* a) {
      const int index = a->data().toInt();
      Run([this, index] { form_->DateFormChoicesBtnClick(index); });
    });
    dateRow->addWidget(choices);
    // As a combo box opens its list: Alt+Down in the field.
    auto* openChoices = new QAction(dateForm);
    openChoices->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Down));
    openChoices->setShortcutContext(Qt::WidgetShortcut);
    dateForm->addAction(openChoices);
    connect(openChoices, &QAction::triggered, choices, [choices] {
      if (choices->isEnabled()) choices->showMenu();
    });
    g->addLayout(dateRow, 3, 3);
    QLabel* datePreview = binder_.Label(QStringLiteral("DateFormPreviewLb"));
    datePreview->setWordWrap(true);
    QFont italic = datePreview->font();
    italic.setItalic(true);
    datePreview->setFont(italic);
    g->addWidget(datePreview, 4, 2, 1, 3);
    g->addWidget(binder_.Label(QStringLiteral("Label19")), 5, 2);
    QComboBox* decSep = binder_.Combo(QStringLiteral("DecSepCbx"));
    connect(decSep, &QComboBox::activated, this,
            [this] { Run([this] { form_->DecSepCbxChange(); }); });
    g->addWidget(decSep, 5, 3);
    g->addWidget(binder_.CheckButton(QStringLiteral("AdoszamCheckBBtn")), 1, 4);
    g->addWidget(binder_.CheckButton(QStringLiteral("DatumCheckBBtn")), 3, 4);
    g->addWidget(binder_.CheckButton(QStringLiteral("OsszegCheckBBtn")), 5, 4);
    g->setColumnStretch(1, 1);
    // Beside the last column's row, which has nothing in the format and check columns: the
    // panel is a row shorter, and the window fits a 1366x768 screen.
    QAbstractButton* contentCheck = binder_.Button(QStringLiteral("ContentCheckBtn"));
    connect(contentCheck, &QAbstractButton::clicked, this,
            [this] { Run([this] { form_->ContentCheckBtnClick(); }); });
    g->addWidget(contentCheck, 6, 2, 1, 3, Qt::AlignRight);
  }
  lower->addWidget(tartalom, 3);

  QFrame* betoltes = MakePanel(QStringLiteral("BetoltesPanel"), body);
  {
    auto* g = new QGridLayout(body);
    g->setContentsMargins(8, 2, 8, 0);
    g->addWidget(binder_.Label(QStringLiteral("CsvLoadRowNumLb")), 0, 0);
    QLineEdit* loaded = binder_.Edit(QStringLiteral("CsvLoadRowNumEd"), true);
    loaded->setAlignment(Qt::AlignRight);
    g->addWidget(loaded, 0, 1);
    g->addWidget(binder_.Label(QStringLiteral("CsvMissedRowNumLb")), 1, 0);
    QLineEdit* missed = binder_.Edit(QStringLiteral("CsvMissedRowNumEd"), true);
    missed->setAlignment(Qt::AlignRight);
    g->addWidget(missed, 1, 1);
    QAbstractButton* showMissed = binder_.Button(QStringLiteral("ShowMissedBtn"));
    connect(showMissed, &QAbstractButton::clicked, this,
            [this] { Run([this] { form_->ShowMissedBtnClick(); }); });
    g->addWidget(showMissed, 2, 0, 1, 2);
    QLabel* warnings = binder_.Label(QStringLiteral("LoadWarningsLb"));
    warnings->setWordWrap(true);
    g->addWidget(warnings, 3, 0, 1, 2);
    QAbstractButton* showWarnings = binder_.Button(QStringLiteral("ShowLoadWarningsBtn"));
    connect(showWarnings, &QAbstractButton::clicked, this,
            [this] { Run([this] { form_->ShowLoadWarningsBtnClick(); }); });
    g->addWidget(showWarnings, 4, 0, 1, 2);
    QAbstractButton* hidden = binder_.Button(QStringLiteral("LoadFileBTn"));
    connect(hidden, &QAbstractButton::clicked, this,
            [this] { Run([this] { form_->LoadFileBTnClick(); }); });
    hidden->setVisible(false);
    g->addWidget(hidden, 5, 0);
    g->setRowStretch(6, 1);
  }
  lower->addWidget(betoltes, 2);
  v->addLayout(lower);
  return page;
}

QWidget* MainWindow::BuildXmlTab() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("XMLGenPage"));
  auto* v = new QVBoxLayout(page);
  auto* g = new QGridLayout;
  g->setHorizontalSpacing(10);
  g->addWidget(binder_.Label(QStringLiteral("Label1")), 0, 0);
  g->addWidget(binder_.Combo(QStringLiteral("AdozokCb")), 0, 1, 1, 3);
  QAbstractButton* newTaxpayer = binder_.Button(QStringLiteral("UjAdozoBtn"));
  g->addWidget(newTaxpayer, 0, 4);
  g->addWidget(binder_.Label(QStringLiteral("Label4")), 1, 0);
  g->addWidget(binder_.Combo(QStringLiteral("UgyintezokCb")), 1, 1, 1, 3);
  QAbstractButton* newAdmin = binder_.Button(QStringLiteral("UjUgyintezoBtn"));
  g->addWidget(newAdmin, 1, 4);
  QAbstractButton* xmlFile = binder_.Button(QStringLiteral("XMLFileSelectBtn"));
  connect(xmlFile, &QAbstractButton::clicked, this,
          [this] { Run([this] { form_->XMLFileSelectBtnClick(); }); });
  g->addWidget(xmlFile, 2, 0);
  g->addWidget(binder_.Edit(QStringLiteral("XMLFileSelectEd"), false), 2, 1, 1, 4);
  // The long captions under the fields they belong to, so that the columns stay narrow
  // enough for a small screen.
  g->addWidget(binder_.Check(QStringLiteral("OverWriteXmlFileCbx")), 3, 1, 1, 4);
  g->addWidget(binder_.Label(QStringLiteral("Label2")), 4, 0);
  g->addWidget(binder_.Date(QStringLiteral("IdoszakADtPick")), 4, 1);
  g->addWidget(binder_.Label(QStringLiteral("Label3")), 4, 2, Qt::AlignRight);
  g->addWidget(binder_.Date(QStringLiteral("IdoszakBDtPick")), 4, 3);
  g->addWidget(binder_.Label(QStringLiteral("Label23")), 5, 0);
  QLineEdit* version = binder_.Edit(QStringLiteral("NyomtVerEd"), false);
  version->setMaximumWidth(80);
  g->addWidget(version, 5, 1);
  auto* options = new QHBoxLayout;
  options->addWidget(binder_.Check(QStringLiteral("BizSumCbx")));
  options->addSpacing(16);
  options->addWidget(binder_.Check(QStringLiteral("DropZeroItemsCbx")));
  options->addStretch(1);
  g->addLayout(options, 6, 1, 1, 4);
  QAbstractButton* summary = binder_.Button(QStringLiteral("SummaryBtn"));
  connect(summary, &QAbstractButton::clicked, this,
          [this] { Run([this] { form_->SummaryBtnClick(); }); });
  g->addWidget(summary, 7, 3, 1, 2);
  // Created as the design has them, never shown.
  auto* hidden = new QWidget(page);
  hidden->setObjectName(QStringLiteral("HiddenControls"));
  auto* hl = new QHBoxLayout(hidden);
  hl->addWidget(binder_.Check(QStringLiteral("NegativePairCbx")));
  hl->addWidget(binder_.Check(QStringLiteral("Round1000Cbx")));
  hl->addWidget(binder_.Edit(QStringLiteral("DateStrEd")));
  hl->addWidget(binder_.Edit(QStringLiteral("DateFormExEd")));
  QAbstractButton* convert = binder_.Button(QStringLiteral("Button1"));
  connect(convert, &QAbstractButton::clicked, this,
          [this] { Run([this] { form_->Button1Click(); }); });
  hl->addWidget(convert);
  hl->addWidget(binder_.Edit(QStringLiteral("ConvertedEd"), true));
  hidden->setVisible(false);
  QAbstractButton* step1 = binder_.Button(QStringLiteral("Step1Btn"));
  connect(step1, &QAbstractButton::clicked, this,
          [this] { Run([this] { form_->Step1BtnClick(); }); });
  QFont bold = step1->font();
  bold.setBold(true);
  step1->setFont(bold);
  step1->setMinimumHeight(step1->sizeHint().height() + 8);
  g->addWidget(step1, 5, 3, 1, 2);
  g->setColumnStretch(1, 1);
  g->setColumnStretch(3, 1);
  v->addLayout(g);
  QLabel* preselected = binder_.Label(QStringLiteral("ProfileRunLb"));
  preselected->setWordWrap(true);
  QFont italic = preselected->font();
  italic.setItalic(true);
  preselected->setFont(italic);
  binder_.Custom([this, preselected] {
    preselected->setVisible(!form_->State.ProfileRunLb.Caption.isEmpty());
  });
  v->addWidget(preselected);
  v->addWidget(binder_.Memo(QStringLiteral("XMLGenMm")), 1);

  connect(newTaxpayer, &QAbstractButton::clicked, this,
          [this] { Run([this] { form_->AdozokMenuClick(); }); });
  connect(newAdmin, &QAbstractButton::clicked, this,
          [this] { Run([this] { form_->UgyintezokMenuClick(); }); });
  return page;
}

}  // namespace krinu
