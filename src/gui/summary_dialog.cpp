#include "gui/summary_dialog.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "app/handler_runner.h"
#include "gui/desktop_integration.h"

namespace krinu {

SummaryDialog::SummaryDialog(const TJob& job, QWidget* parent)
    : QDialog(parent), ui_(this), form_(ui_, job), binder_(form_.State.Controls()) {
  setObjectName(QStringLiteral("SummaryForm"));
  setWindowTitle(form_.State.Caption);
  setModal(true);
  QLabel* head = binder_.Label(QStringLiteral("HeadLb"));
  head->setTextFormat(Qt::RichText);
  head->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QLabel* filterLabel = binder_.Label(QStringLiteral("FilterLb"));
  QLineEdit* filter = binder_.Edit(QStringLiteral("FilterEd"));
  filter->setClearButtonEnabled(true);
  filterLabel->setBuddy(filter);
  QTableView* partners = binder_.Table(QStringLiteral("PartnerSG"));
  QLabel* linesLabel = binder_.Label(QStringLiteral("LinesLb"));
  QTableView* lines = binder_.Table(QStringLiteral("LinesSG"));
  lines->horizontalHeader()->setStretchLastSection(true);
  partners->horizontalHeader()->setStretchLastSection(true);
  QLabel* accounting = binder_.Label(QStringLiteral("AccountingLb"));
  accounting->setTextFormat(Qt::RichText);
  // The warnings name partners: long lines that wrap rather than widen the window.
  accounting->setWordWrap(true);
  head->setWordWrap(true);
  accounting->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QAbstractButton* pdf = binder_.Button(QStringLiteral("MentesPdfBtn"));
  QAbstractButton* html = binder_.Button(QStringLiteral("MentesHtmlBtn"));
  QAbstractButton* csv = binder_.Button(QStringLiteral("MentesCsvBtn"));
  QAbstractButton* ok = binder_.Button(QStringLiteral("SummaryOkBtn"));

  auto* top = new QHBoxLayout;
  top->addWidget(head, 1, Qt::AlignTop);
  top->addWidget(accounting, 0, Qt::AlignTop);
  auto* filterRow = new QHBoxLayout;
  filterRow->addWidget(filterLabel);
  filterRow->addWidget(filter, 1);
  auto* lower = new QWidget;
  auto* lowerLayout = new QVBoxLayout(lower);
  lowerLayout->setContentsMargins(0, 0, 0, 0);
  lowerLayout->addWidget(linesLabel);
  lowerLayout->addWidget(lines, 1);
  auto* split = new QSplitter(Qt::Vertical);
  split->addWidget(partners);
  split->addWidget(lower);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(pdf);
  buttons->addWidget(html);
  buttons->addWidget(csv);
  buttons->addStretch(1);
  buttons->addWidget(ok);
  auto* v = new QVBoxLayout(this);
  v->addLayout(top);
  v->addLayout(filterRow);
  v->addWidget(split, 1);
  v->addLayout(buttons);

  connect(filter, &QLineEdit::textEdited, this,
          [this] { Run([this] { form_.FilterEdChange(); }); });
  connect(partners->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this](int column) { Run([this, column] { form_.PartnerSGHeaderClick(column); }); });
  connect(partners, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
    Run([this, row = index.row()] { form_.PartnerSGDblClick(row); });
  });
  connect(pdf, &QAbstractButton::clicked, this,
          [this] { Run([this] { form_.MentesPdfBtnClick(); }); });
  connect(html, &QAbstractButton::clicked, this,
          [this] { Run([this] { form_.MentesHtmlBtnClick(); }); });
  connect(csv, &QAbstractButton::clicked, this,
          [this] { Run([this] { form_.MentesCsvBtnClick(); }); });
  connect(ok, &QAbstractButton::clicked, this,
          [this] { Run([this] { form_.SummaryOkBtnClick(); }); });
  PlaceOnScreen(this, QSize(1240, 700));
  binder_.Render();
}

void SummaryDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Run([this] { form_.FormShow(); });
}

void SummaryDialog::Run(const std::function<void()>& handler) {
  if (binder_.Rendering()) return;
  binder_.Sync();
  RunHandler(ui_, handler);
  binder_.Render();
  if (form_.State.Closed) accept();
}

void ShowSummary(QWidget* parent, const TJob& job) {
  SummaryDialog dialog(job, parent);
  dialog.exec();
}

}  // namespace krinu
