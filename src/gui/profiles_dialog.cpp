#include "gui/profiles_dialog.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>

#include "app/handler_runner.h"
#include "gui/desktop_integration.h"

namespace krinu {

ProfilesDialog::ProfilesDialog(TSession& session, QWidget* parent)
    : QDialog(parent), ui_(this), form_(ui_, session), binder_(form_.State.Controls()) {
  setObjectName(QStringLiteral("ProfilesForm"));
  setWindowTitle(form_.State.Caption);
  setModal(true);
  QTableView* table = binder_.Table(QStringLiteral("ProfilesSG"));
  table->horizontalHeader()->setSortIndicatorShown(false);
  table->horizontalHeader()->setStretchLastSection(true);
  QLineEdit* name = binder_.Edit(QStringLiteral("NevEd"), false, 100);
  QAbstractButton* rename = binder_.Button(QStringLiteral("AtnevezesBtn"));
  QAbstractButton* remove = binder_.Button(QStringLiteral("TorlesBtn"));
  QAbstractButton* close = binder_.Button(QStringLiteral("BezarasBtn"));
  auto* row = new QHBoxLayout;
  QLabel* label = binder_.Label(QStringLiteral("NevLb"));
  label->setBuddy(name);
  row->addWidget(label);
  row->addWidget(name, 1);
  row->addWidget(rename);
  row->addSpacing(16);
  row->addWidget(remove);
  row->addStretch(1);
  row->addWidget(close);
  auto* v = new QVBoxLayout(this);
  v->addWidget(table, 1);
  v->addLayout(row);
  // The chosen row is the form's; the table shows it again after every handler.
  connect(table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& now) {
            const int r = now.isValid() ? now.row() : -1;
            if (r != form_.State.Selected) Run([this, r] { form_.ProfilesSGSelect(r); });
          });
  binder_.Custom([this, table] {
    const int r = form_.State.Selected;
    if (r >= 0 && table->currentIndex().row() != r) table->selectRow(r);
    if (r < 0) table->clearSelection();
  });
  connect(rename, &QAbstractButton::clicked, this,
          [this] { Run([this] { form_.AtnevezesBtnClick(); }); });
  connect(name, &QLineEdit::returnPressed, this,
          [this] { Run([this] { form_.AtnevezesBtnClick(); }); });
  connect(remove, &QAbstractButton::clicked, this,
          [this] { Run([this] { form_.TorlesBtnClick(); }); });
  connect(close, &QAbstractButton::clicked, this,
          [this] { Run([this] { form_.BezarasBtnClick(); }); });
  PlaceOnScreen(this, QSize(900, 380));
}

void ProfilesDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Run([this] { form_.FormShow(); });
}

void ProfilesDialog::Run(const std::function<void()>& handler) {
  if (binder_.Rendering()) return;
  binder_.Sync();
  RunHandler(ui_, handler);
  binder_.Render();
  if (form_.State.Closed) accept();
}

void ShowProfiles(QWidget* parent, TSession& session) {
  ProfilesDialog dialog(session, parent);
  dialog.exec();
}

}  // namespace krinu
