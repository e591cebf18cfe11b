#include "gui/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/control_render.h"
#include "gui/secondary_windows.h"

namespace krinu {

MainWindow::MainWindow(AppEnvironment env, QWidget* parent)
    : QMainWindow(parent), ui_(this), form_(std::make_unique<TMainForm>(ui_, std::move(env))) {
  setObjectName(QStringLiteral("MainForm"));
  ui_.ShowModalHandler = [this](SecondaryWindow w) { ShowSecondary(w); };
  BuildMenu();
  pages_ = new QTabWidget(this);
  pages_->setObjectName(QStringLiteral("MainPC"));
  pages_->addTab(BuildInputTab(), form_->State.InputTS.Caption);
  pages_->addTab(BuildXmlTab(), form_->State.XMLGenTS.Caption);
  pages_->widget(0)->setObjectName(QStringLiteral("InputTS"));
  pages_->widget(1)->setObjectName(QStringLiteral("XMLGenTS"));
  connect(pages_, &QTabWidget::currentChanged, this, [this](int index) {
    if (rendering_) return;
    Run([this, index] {
      form_->State.MainPCActivePage = index;
      if (index == 1)
        form_->XMLGenTSShow();
      else
        form_->InputTSShow();
    });
  });
  bindings_.push_back({[this] { pages_->setCurrentIndex(form_->State.MainPCActivePage); },
                       [this] { form_->State.MainPCActivePage = pages_->currentIndex(); }});
  setCentralWidget(pages_);
  resize(1000, 720);
  Render();
}

MainWindow::~MainWindow() = default;

bool MainWindow::Start() {
  form_->FormCreate();
  Render();
  return !form_->StartupAborted();
}

void MainWindow::Run(const std::function<void()>& handler) {
  Sync();
  handler();
  Render();
  if (form_->State.CloseRequested) close();
}

void MainWindow::OpenInputFile(const QString& path) {
  ui_.PresetOpenFile = path;
  Run([this] { form_->SelectFileBtnClick(); });
}

void MainWindow::Sync() {
  for (auto& b : bindings_)
    if (b.sync) b.sync();
}

void MainWindow::Render() {
  rendering_ = true;
  setWindowTitle(form_->State.Caption);
  for (auto& b : bindings_) b.render();
  RenderFocus(this, form_->State.FocusedControl);
  rendering_ = false;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  form_->FormClose();
  event->accept();
}

void MainWindow::ShowSecondary(SecondaryWindow window) {
  if (!form_->Db) return;
  ShowSecondaryWindow(this, window, *form_);
}

// ---- binding helpers -------------------------------------------------------------

QLabel* MainWindow::Label(const QString& name, CaptionControl& c) {
  auto* w = new QLabel(c.Caption);
  w->setObjectName(name);
  bindings_.push_back({[w, &c] {
                         w->setText(c.Caption);
                         w->setEnabled(c.Enabled);
                       },
                       {}});
  return w;
}

QAbstractButton* MainWindow::Button(const QString& name, CaptionControl& c) {
  auto* w = new QPushButton(c.Caption);
  w->setObjectName(name);
  bindings_.push_back({[w, &c] {
                         w->setText(c.Caption);
                         w->setEnabled(c.Enabled);
                       },
                       {}});
  return w;
}

QLineEdit* MainWindow::Edit(const QString& name, TextControl& c, bool readOnly, int maxLength) {
  auto* w = new QLineEdit;
  w->setObjectName(name);
  w->setReadOnly(readOnly);
  if (maxLength > 0) w->setMaxLength(maxLength);
  bindings_.push_back({[w, &c] { RenderText(w, c); },
                       [w, &c, readOnly] {
                         if (!readOnly) c.Text = w->text();
                       }});
  return w;
}

QCheckBox* MainWindow::Check(const QString& name, CheckControl& c) {
  auto* w = new QCheckBox(c.Caption);
  w->setObjectName(name);
  bindings_.push_back({[w, &c] {
                         w->setText(c.Caption);
                         w->setChecked(c.Checked);
                         w->setEnabled(c.Enabled);
                       },
                       [w, &c] { c.Checked = w->isChecked(); }});
  return w;
}

QComboBox* MainWindow::Combo(const QString& name, ComboControl& c) {
  auto* w = new QComboBox;
  w->setObjectName(name);
  w->setEditable(false);
  w->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  w->setMinimumContentsLength(12);
  bindings_.push_back({[w, &c] {
                         RenderItems(w, c.Items);
                         w->setCurrentIndex(c.ItemIndex);
                         w->setEnabled(c.Enabled);
                       },
                       [w, &c] { c.ItemIndex = w->currentIndex(); }});
  return w;
}

QDateEdit* MainWindow::Date(const QString& name, DateControl& c) {
  auto* w = new QDateEdit;
  w->setObjectName(name);
  w->setCalendarPopup(true);
  w->setDisplayFormat(QStringLiteral("yyyy. MM. dd."));
  w->setMinimumWidth(w->fontMetrics().horizontalAdvance(QStringLiteral("2026. 12. 31.")) + 48);
  w->setMaximumWidth(220);
  bindings_.push_back({[w, &c] {
                         w->setDate(c.Date);
                         w->setEnabled(c.Enabled);
                       },
                       [w, &c] { c.Date = w->date(); }});
  return w;
}

QToolButton* MainWindow::CheckButton(const QString& name, CheckButtonControl& c) {
  auto* w = new QToolButton;
  w->setObjectName(name);
  w->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  w->setAutoRaise(false);
  bindings_.push_back({[w, &c] {
                         QStyle::StandardPixmap icon = QStyle::SP_MessageBoxQuestion;
                         if (c.Mark == CheckMark::Passed) icon = QStyle::SP_DialogApplyButton;
                         if (c.Mark == CheckMark::Failed) icon = QStyle::SP_MessageBoxCritical;
                         w->setIcon(w->style()->standardIcon(icon));
                         w->setText(c.Caption);
                         w->setToolButtonStyle(c.Caption.isEmpty() ? Qt::ToolButtonIconOnly
                                                                   : Qt::ToolButtonTextBesideIcon);
                         w->setEnabled(c.Enabled);
                       },
                       {}});
  return w;
}

QTableWidget* MainWindow::Grid(const QString& name, GridControl& c) {
  auto* w = new QTableWidget;
  w->setObjectName(name);
  w->setEditTriggers(QAbstractItemView::NoEditTriggers);
  w->setSelectionMode(QAbstractItemView::NoSelection);
  w->verticalHeader()->setDefaultSectionSize(w->fontMetrics().height() + 6);
  w->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  w->horizontalHeader()->setHighlightSections(false);
  bindings_.push_back(
      {[w, &c] {
         // The fixed row is the table's own header, so it stays in view.
         const int fixed = c.FixedRows > 0 ? 1 : 0;
         w->clear();
         w->setColumnCount(c.ColCount);
         w->setRowCount(std::max(0, c.RowCount - fixed));
         w->horizontalHeader()->setVisible(fixed == 1);
         QStringList header;
         for (int col = 0; col < c.ColCount; ++col)
           header << (fixed && !c.Cells.isEmpty() ? c.Cells[0].value(col) : QString());
         w->setHorizontalHeaderLabels(header);
         for (int row = fixed; row < c.RowCount && row < c.Cells.size(); ++row)
           for (int col = 0; col < c.ColCount; ++col)
             w->setItem(row - fixed, col, new QTableWidgetItem(c.Cells[row].value(col)));
         // Columns as wide as their widest value in this font (the header texts are not
         // measured); the user can still resize them.
         const QFontMetrics fm = w->fontMetrics();
         for (int col = 0; col < c.ColCount && col < c.ColWidths.size(); ++col) {
           if (c.ColWidths[col] <= 0) continue;
           int width = 0;
           for (int row = fixed; row < c.RowCount && row < c.Cells.size(); ++row)
             width = std::max(width, fm.horizontalAdvance(c.Cells[row].value(col)));
           w->setColumnWidth(col, std::min(480, width + 14));
         }
         w->setEnabled(c.Enabled);
       },
       {}});
  return w;
}

QPlainTextEdit* MainWindow::Memo(const QString& name, MemoControl& c) {
  auto* w = new QPlainTextEdit;
  w->setObjectName(name);
  w->setReadOnly(true);
  w->setLineWrapMode(QPlainTextEdit::NoWrap);
  w->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  w->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  w->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  auto shown = std::make_shared<qsizetype>(0);
  bindings_.push_back({[w, &c, shown] {
                         // The log only grows: append what is new. (The first fill is set
                         // whole, since appending to an empty memo would swallow an empty line.)
                         if (*shown < c.Lines.size() && w->document()->isEmpty()) {
                           w->setPlainText(c.Lines.join(QLatin1Char('\n')));
                           *shown = c.Lines.size();
                         }
                         for (; *shown < c.Lines.size(); ++*shown)
                           w->appendPlainText(c.Lines[*shown]);
                         w->setEnabled(c.Enabled);
                       },
                       {}});
  return w;
}

QAction* MainWindow::MenuAction(QMenu* menu, const QString& name, CaptionControl& c) {
  QAction* a = menu->addAction(c.Caption);
  a->setObjectName(name);
  return a;
}

// ---- layout ----------------------------------------------------------------------

void MainWindow::BuildMenu() {
  MainFormState& s = form_->State;
  QMenu* file = menuBar()->addMenu(s.FileMenu.Caption);
  file->setObjectName(QStringLiteral("FileMenu"));
  connect(MenuAction(file, QStringLiteral("ExitMenu"), s.ExitMenu), &QAction::triggered, this,
          [this] { Run([this] { form_->ExitMenuClick(); }); });
  QMenu* torzs = menuBar()->addMenu(s.TorzsMenu.Caption);
  torzs->setObjectName(QStringLiteral("TorzsMenu"));
  connect(MenuAction(torzs, QStringLiteral("AdozokMenu"), s.AdozokMenu), &QAction::triggered, this,
          [this] { Run([this] { form_->AdozokMenuClick(); }); });
  connect(MenuAction(torzs, QStringLiteral("UgyintezokMenu"), s.UgyintezokMenu),
          &QAction::triggered, this, [this] { Run([this] { form_->UgyintezokMenuClick(); }); });
  QMenu* help = menuBar()->addMenu(s.Segtsg1.Caption);
  help->setObjectName(QStringLiteral("Segtsg1"));
  connect(MenuAction(help, QStringLiteral("UserGuideMenu"), s.UserGuideMenu), &QAction::triggered,
          this, [this] { Run([this] { form_->UserGuideMenuClick(); }); });
}

QFrame* MainWindow::MakePanel(const QString& name, CaptionControl& title, QWidget*& body) {
  auto* panel = new QFrame;
  panel->setObjectName(name);
  panel->setFrameShape(QFrame::StyledPanel);
  auto* v = new QVBoxLayout(panel);
  v->setContentsMargins(0, 0, 0, 6);
  v->setSpacing(4);
  QLabel* bar = Label(name + QStringLiteral("Title"), title);
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
  MainFormState& s = form_->State;
  auto* page = new QWidget;
  auto* v = new QVBoxLayout(page);

  auto* top = new QHBoxLayout;
  QAbstractButton* selectFile = Button(QStringLiteral("SelectFileBtn"), s.SelectFileBtn);
  connect(selectFile, &QAbstractButton::clicked, this,
          [this] { Run([this] { form_->SelectFileBtnClick(); }); });
  top->addWidget(selectFile);
  top->addWidget(Edit(QStringLiteral("FileNameEd"), s.FileNameEd, true), 1);
  v->addLayout(top);

  QWidget* body = nullptr;
  QFrame* szerkezet = MakePanel(QStringLiteral("SzerkezetPanel"), s.SzerkezetPanelTitle, body);
  {
    auto* g = new QVBoxLayout(body);
    g->setContentsMargins(8, 2, 8, 0);
    auto* row = new QHBoxLayout;
    row->addWidget(Check(QStringLiteral("HeaderCbx"), s.HeaderCbx));
    row->addSpacing(24);
    row->addWidget(Label(QStringLiteral("Label5"), s.Label5));
    QLineEdit* sep = Edit(QStringLiteral("CsvSeparatorEd"), s.CsvSeparatorEd, false, 1);
    sep->setFixedWidth(sep->fontMetrics().horizontalAdvance(QStringLiteral("MM")) + 16);
    sep->setAlignment(Qt::AlignCenter);
    sep->setToolTip(QStringLiteral("Általában vessző, vagy pontosvessző"));
    row->addWidget(sep);
    row->addSpacing(24);
    row->addWidget(Label(QStringLiteral("Label24"), s.Label24));
    QLabel* cp = Label(QStringLiteral("CodePageLb"), s.CodePageLb);
    QFont bold = cp->font();
    bold.setBold(true);
    cp->setFont(bold);
    row->addWidget(cp);
    row->addStretch(1);
    g->addLayout(row);
    g->addWidget(Label(QStringLiteral("Label6"), s.Label6));
    g->addWidget(Grid(QStringLiteral("InputDataSG"), s.InputDataSG), 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Label(QStringLiteral("ColCountPrevLb"), s.ColCountPrevLb));
    QLineEdit* cols = Edit(QStringLiteral("ColCountPrevEd"), s.ColCountPrevEd, true);
    cols->setFixedWidth(70);
    cols->setAlignment(Qt::AlignRight);
    bottom->addWidget(cols);
    bottom->addSpacing(16);
    bottom->addWidget(Label(QStringLiteral("RowCountPrevLb"), s.RowCountPrevLb));
    QLineEdit* rows = Edit(QStringLiteral("RowCountPrevEd"), s.RowCountPrevEd, true);
    rows->setFixedWidth(90);
    rows->setAlignment(Qt::AlignRight);
    bottom->addWidget(rows);
    bottom->addStretch(1);
    QAbstractButton* check = Button(QStringLiteral("SzerkezetCheckBtn"), s.SzerkezetCheckBtn);
    connect(check, &QAbstractButton::clicked, this,
            [this] { Run([this] { form_->SzerkezetCheckBtnClick(); }); });
    bottom->addWidget(check);
    g->addLayout(bottom);
  }
  v->addWidget(szerkezet, 1);

  auto* lower = new QHBoxLayout;
  QFrame* tartalom = MakePanel(QStringLiteral("TartalomPanel"), s.TartalomPanelTitle, body);
  {
    auto* g = new QGridLayout(body);
    g->setContentsMargins(8, 2, 8, 0);
    g->setHorizontalSpacing(10);
    g->addWidget(Label(QStringLiteral("Label22"), s.Label22), 0, 2, 1, 2);
    g->addWidget(Label(QStringLiteral("Label20"), s.Label20), 0, 4);
    const struct {
      const char* label;
      CaptionControl* caption;
      const char* combo;
      ComboControl* control;
    } rows[6] = {{"AdoszamColLb", &s.AdoszamColLb, "AdoszamColCbx", &s.AdoszamColCbx},
                 {"MegnevezesColLb", &s.MegnevezesColLb, "MegnevezesColCbx", &s.MegnevezesColCbx},
                 {"DatumColLb", &s.DatumColLb, "DatumColCbx", &s.DatumColCbx},
                 {"BizSzamColLb", &s.BizSzamColLb, "BizSzamColCbx", &s.BizSzamColCbx},
                 {"AFAAlapColLb", &s.AFAAlapColLb, "AFAAlapColCbx", &s.AFAAlapColCbx},
                 {"AFAColLb", &s.AFAColLb, "AFAColCbx", &s.AFAColCbx}};
    for (int i = 0; i < 6; ++i) {
      g->addWidget(Label(QLatin1String(rows[i].label), *rows[i].caption), i + 1, 0);
      g->addWidget(Combo(QLatin1String(rows[i].combo), *rows[i].control), i + 1, 1);
    }
    QLineEdit* taxForm = Edit(QStringLiteral("AdoszamFormEd"), s.AdoszamFormEd, true);
    g->addWidget(taxForm, 1, 2, 1, 2);
    g->addWidget(Label(QStringLiteral("Label21"), s.Label21), 3, 2);
    g->addWidget(Edit(QStringLiteral("DateFormEd"), s.DateFormEd, false, 20), 3, 3);
    g->addWidget(Label(QStringLiteral("Label19"), s.Label19), 5, 2);
    g->addWidget(Combo(QStringLiteral("DecSepCbx"), s.DecSepCbx), 5, 3);
    g->addWidget(CheckButton(QStringLiteral("AdoszamCheckBBtn"), s.AdoszamCheckBBtn), 1, 4);
    g->addWidget(CheckButton(QStringLiteral("DatumCheckBBtn"), s.DatumCheckBBtn), 3, 4);
    g->addWidget(CheckButton(QStringLiteral("OsszegCheckBBtn"), s.OsszegCheckBBtn), 5, 4);
    g->setColumnStretch(1, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(Button(QStringLiteral("ContentCheckBtn"), s.ContentCheckBtn));
    g->addLayout(buttonRow, 7, 0, 1, 5);
  }
  lower->addWidget(tartalom, 3);

  QFrame* betoltes = MakePanel(QStringLiteral("BetoltesPanel"), s.BetoltesPanelTitle, body);
  {
    auto* g = new QGridLayout(body);
    g->setContentsMargins(8, 2, 8, 0);
    g->addWidget(Label(QStringLiteral("CsvLoadRowNumLb"), s.CsvLoadRowNumLb), 0, 0);
    QLineEdit* loaded = Edit(QStringLiteral("CsvLoadRowNumEd"), s.CsvLoadRowNumEd, true);
    loaded->setAlignment(Qt::AlignRight);
    g->addWidget(loaded, 0, 1);
    g->addWidget(Label(QStringLiteral("CsvMissedRowNumLb"), s.CsvMissedRowNumLb), 1, 0);
    QLineEdit* missed = Edit(QStringLiteral("CsvMissedRowNumEd"), s.CsvMissedRowNumEd, true);
    missed->setAlignment(Qt::AlignRight);
    g->addWidget(missed, 1, 1);
    g->addWidget(Button(QStringLiteral("ShowMissedBtn"), s.ShowMissedBtn), 2, 0, 1, 2);
    QAbstractButton* hidden = Button(QStringLiteral("LoadFileBTn"), s.LoadFileBTn);
    hidden->setVisible(false);
    g->addWidget(hidden, 3, 0);
    g->setRowStretch(4, 1);
  }
  lower->addWidget(betoltes, 2);
  v->addLayout(lower);
  return page;
}

QWidget* MainWindow::BuildXmlTab() {
  MainFormState& s = form_->State;
  auto* page = new QWidget;
  auto* v = new QVBoxLayout(page);
  auto* g = new QGridLayout;
  g->setHorizontalSpacing(10);
  g->addWidget(Label(QStringLiteral("Label1"), s.Label1), 0, 0);
  g->addWidget(Combo(QStringLiteral("AdozokCb"), s.AdozokCb), 0, 1, 1, 3);
  QAbstractButton* newTaxpayer = Button(QStringLiteral("UjAdozoBtn"), s.UjAdozoBtn);
  g->addWidget(newTaxpayer, 0, 4);
  g->addWidget(Label(QStringLiteral("Label4"), s.Label4), 1, 0);
  g->addWidget(Combo(QStringLiteral("UgyintezokCb"), s.UgyintezokCb), 1, 1, 1, 3);
  QAbstractButton* newAdmin = Button(QStringLiteral("UjUgyintezoBtn"), s.UjUgyintezoBtn);
  g->addWidget(newAdmin, 1, 4);
  g->addWidget(Button(QStringLiteral("XMLFileSelectBtn"), s.XMLFileSelectBtn), 2, 0);
  g->addWidget(Edit(QStringLiteral("XMLFileSelectEd"), s.XMLFileSelectEd, false), 2, 1, 1, 3);
  g->addWidget(Check(QStringLiteral("OverWriteXmlFileCbx"), s.OverWriteXmlFileCbx), 2, 4);
  g->addWidget(Label(QStringLiteral("Label2"), s.Label2), 3, 0);
  g->addWidget(Date(QStringLiteral("IdoszakADtPick"), s.IdoszakADtPick), 3, 1);
  g->addWidget(Label(QStringLiteral("Label3"), s.Label3), 3, 2, Qt::AlignRight);
  g->addWidget(Date(QStringLiteral("IdoszakBDtPick"), s.IdoszakBDtPick), 3, 3);
  g->addWidget(Label(QStringLiteral("Label23"), s.Label23), 4, 0);
  QLineEdit* version = Edit(QStringLiteral("NyomtVerEd"), s.NyomtVerEd, false);
  version->setMaximumWidth(80);
  g->addWidget(version, 4, 1);
  g->addWidget(Check(QStringLiteral("BizSumCbx"), s.BizSumCbx), 4, 2);
  g->addWidget(Check(QStringLiteral("DropZeroItemsCbx"), s.DropZeroItemsCbx), 4, 3);
  QAbstractButton* step1 = Button(QStringLiteral("Step1Btn"), s.Step1Btn);
  QFont bold = step1->font();
  bold.setBold(true);
  step1->setFont(bold);
  step1->setMinimumHeight(step1->sizeHint().height() + 8);
  g->addWidget(step1, 4, 4);
  g->setColumnStretch(1, 1);
  g->setColumnStretch(3, 1);
  v->addLayout(g);
  v->addWidget(Memo(QStringLiteral("XMLGenMm"), s.XMLGenMm), 1);

  connect(newTaxpayer, &QAbstractButton::clicked, this,
          [this] { Run([this] { form_->AdozokMenuClick(); }); });
  connect(newAdmin, &QAbstractButton::clicked, this,
          [this] { Run([this] { form_->UgyintezokMenuClick(); }); });
  return page;
}

}  // namespace krinu
