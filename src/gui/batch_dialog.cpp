#include "gui/batch_dialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "app/handler_runner.h"
#include "gui/desktop_integration.h"

namespace krinu {

BatchDialog::BatchDialog(TSession& session, QWidget* parent)
    : QDialog(parent),
      ui_(this),
      form_(ui_, session,
            [this, &session](const TBatchRow& row) {
              // Each job is krinu-cli's convert, in a process and a session of their own:
              // its bytes are convert's, and its log lines never reach the main window's memo.
              // As the window asks before writing a return that would be wrong and answers
              // No unless told otherwise, a batch nobody watches writes none.
              return RunInWorker(worker_, session.Env, {row, true});
            }),
      binder_(form_.State.Controls()) {
  setObjectName(QStringLiteral("BatchForm"));
  setWindowTitle(form_.State.Caption);
  setModal(true);
  setAcceptDrops(true);
  jobs_ = binder_.Table(QStringLiteral("JobsSG"));
  jobs_->horizontalHeader()->setStretchLastSection(true);
  jobs_->horizontalHeader()->setSortIndicatorShown(false);
  QLabel* status = binder_.Label(QStringLiteral("StatusLb"));
  status->setWordWrap(true);
  QLabel* rowLabel = binder_.Label(QStringLiteral("SorLb"));
  QComboBox* taxpayer = binder_.Combo(QStringLiteral("AdozoCb"));
  QComboBox* admin = binder_.Combo(QStringLiteral("UgyintezoCb"));
  QDateEdit* from = binder_.Date(QStringLiteral("KezdeteDtPick"));
  QDateEdit* to = binder_.Date(QStringLiteral("VegeDtPick"));
  QCheckBox* quarter = binder_.Check(QStringLiteral("NegyedevCbx"));
  QCheckBox* combine = binder_.Check(QStringLiteral("OsszevonasCbx"));
  QCheckBox* dropZero = binder_.Check(QStringLiteral("NullasCbx"));
  QLineEdit* output = binder_.Edit(QStringLiteral("KimenetEd"));

  auto* choices = new QGridLayout;
  choices->addWidget(rowLabel, 0, 0, 1, 4);
  choices->addWidget(binder_.Label(QStringLiteral("AdozoLb")), 1, 0);
  choices->addWidget(taxpayer, 1, 1);
  choices->addWidget(binder_.Label(QStringLiteral("UgyintezoLb")), 1, 2);
  choices->addWidget(admin, 1, 3);
  choices->addWidget(binder_.Label(QStringLiteral("IdoszakLb")), 2, 0);
  auto* period = new QHBoxLayout;
  period->addWidget(from);
  period->addWidget(new QLabel(QStringLiteral("–")));
  period->addWidget(to);
  period->addWidget(quarter);
  period->addStretch(1);
  choices->addLayout(period, 2, 1, 1, 3);
  auto* options = new QHBoxLayout;
  options->addWidget(combine);
  options->addWidget(dropZero);
  options->addStretch(1);
  choices->addLayout(options, 3, 1, 1, 3);
  choices->addWidget(binder_.Label(QStringLiteral("KimenetLb")), 4, 0);
  choices->addWidget(output, 4, 1, 1, 3);
  choices->setColumnStretch(1, 1);
  choices->setColumnStretch(3, 1);

  auto* results = new QHBoxLayout;
  results->addWidget(new QLabel(QStringLiteral("Eredmény:")));
  for (const char* name : {"XmlMappaBtn", "NaploBtn", "OsszesitoBtn"}) {
    QAbstractButton* b = binder_.Button(QString::fromLatin1(name));
    results->addWidget(b);
    connect(b, &QAbstractButton::clicked, this, [this, name] {
      Run([this, name] {
        const QByteArray which(name);
        if (which == "XmlMappaBtn") form_.XmlMappaBtnClick();
        if (which == "NaploBtn") form_.NaploBtnClick();
        if (which == "OsszesitoBtn") form_.OsszesitoBtnClick();
      });
    });
  }
  results->addStretch(1);
  QLabel* story = binder_.Label(QStringLiteral("EredmenyLb"));
  story->setWordWrap(true);
  story->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* buttons = new QHBoxLayout;
  const std::pair<const char*, void (TBatchForm::*)()> clicks[] = {
      {"HozzaadasBtn", &TBatchForm::HozzaadasBtnClick},
      {"TorlesBtn", &TBatchForm::TorlesBtnClick},
      {"MegnyitasBtn", &TBatchForm::MegnyitasBtnClick},
      {"MentesBtn", &TBatchForm::MentesBtnClick},
      {"InditasBtn", &TBatchForm::InditasBtnClick},
      {"BezarasBtn", &TBatchForm::BezarasBtnClick}};
  for (const auto& [name, handler] : clicks) {
    QAbstractButton* b = binder_.Button(QString::fromLatin1(name));
    if (QByteArray(name) == "InditasBtn" || QByteArray(name) == "BezarasBtn")
      buttons->addStretch(1);
    buttons->addWidget(b);
    connect(b, &QAbstractButton::clicked, this,
            [this, handler = handler] { Run([this, handler] { (form_.*handler)(); }); });
  }

  auto* v = new QVBoxLayout(this);
  v->addWidget(jobs_, 1);
  v->addWidget(status);
  v->addLayout(choices);
  v->addLayout(results);
  v->addWidget(story);
  v->addLayout(buttons);

  connect(jobs_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& index) {
            Run([this, row = index.row()] { form_.JobsSGSelect(row); });
          });
  connect(jobs_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
    Run([this, row = index.row(), column = index.column()] { form_.JobsSGDblClick(row, column); });
  });
  const auto changed = [this] { Run([this] { form_.RowChoiceChange(); }); };
  connect(taxpayer, &QComboBox::activated, this, changed);
  connect(admin, &QComboBox::activated, this, changed);
  connect(from, &QDateEdit::dateChanged, this, changed);
  connect(to, &QDateEdit::dateChanged, this, changed);
  connect(combine, &QCheckBox::clicked, this, changed);
  connect(dropZero, &QCheckBox::clicked, this, changed);
  connect(output, &QLineEdit::editingFinished, this, changed);
  connect(quarter, &QCheckBox::clicked, this,
          [this] { Run([this] { form_.NegyedevCbxClick(); }); });
  // The selection follows the form's row after every render (a reset model drops it).
  binder_.Custom([this] {
    const qsizetype row = form_.State.SelectedRow;
    if (row >= 0 && jobs_->currentIndex().row() != row)
      jobs_->setCurrentIndex(jobs_->model()->index(int(row), 0));
  });
  PlaceOnScreen(this, QSize(940, 640));
  binder_.Render();
}

void BatchDialog::dragEnterEvent(QDragEnterEvent* event) {
  AcceptFileDrag(event);
}

void BatchDialog::dropEvent(QDropEvent* event) {
  TakeDroppedFiles(event, this, [this](const QStringList& paths) {
    Run([this, paths] { form_.FilesDropped(paths); });
  });
}

void BatchDialog::Run(const std::function<void()>& handler) {
  if (binder_.Rendering()) return;
  binder_.Sync();
  RunHandler(ui_, handler);
  binder_.Render();
  if (form_.State.Closed) accept();
}

void ShowBatch(QWidget* parent, TSession& session) {
  BatchDialog dialog(session, parent);
  dialog.exec();
}

}  // namespace krinu
