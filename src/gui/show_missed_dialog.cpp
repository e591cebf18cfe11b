#include "gui/show_missed_dialog.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

#include "app/handler_runner.h"
#include "gui/desktop_integration.h"

namespace krinu {

ShowMissedDialog::ShowMissedDialog(const TJob& job, QWidget* parent, const QString& documentsDir)
    : QDialog(parent), ui_(this), form_(ui_, job, documentsDir), binder_(form_.State.Controls()) {
  setObjectName(QStringLiteral("ShowMissedForm"));
  setWindowTitle(form_.State.Caption);
  setModal(true);
  QTableView* table = binder_.Table(QStringLiteral("ShowMissedSG"));
  QAbstractButton* save = binder_.Button(QStringLiteral("MentesBtn"));
  QAbstractButton* ok = binder_.Button(QStringLiteral("ShowMissedOkBtn"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(save);
  buttons->addStretch(1);
  buttons->addWidget(ok);
  auto* v = new QVBoxLayout(this);
  v->addWidget(table, 1);
  v->addLayout(buttons);
  connect(table->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
    // A million rows take a moment to sort.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    Run([this, column] { form_.ShowMissedSGHeaderClick(column); });
    QGuiApplication::restoreOverrideCursor();
  });
  connect(save, &QAbstractButton::clicked, this,
          [this] { Run([this] { form_.MentesBtnClick(); }); });
  connect(ok, &QAbstractButton::clicked, this,
          [this] { Run([this] { form_.ShowMissedOkBtnClick(); }); });
  PlaceOnScreen(this, QSize(860, 480));
}

void ShowMissedDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Run([this] { form_.FormShow(); });
}

void ShowMissedDialog::Run(const std::function<void()>& handler) {
  if (binder_.Rendering()) return;
  binder_.Sync();
  RunHandler(ui_, handler);
  binder_.Render();
  if (form_.State.Closed) accept();
}

void ShowMissedRows(QWidget* parent, const TJob& job, const QString& documentsDir) {
  ShowMissedDialog dialog(job, parent, documentsDir);
  dialog.exec();
}

}  // namespace krinu
