#pragma once
// The batch window: modal, over the main window; the table of jobs, the selected row's
// choices below it, and the buttons. Files dropped on it become rows.

#include <QDialog>
#include <memory>

#include "app/batch_form.h"
#include "app/batch_worker.h"
#include "gui/qt_user_interface.h"
#include "gui/widget_binder.h"

class QTableView;

namespace krinu {

class BatchDialog : public QDialog {
  Q_OBJECT
 public:
  BatchDialog(TSession& session, QWidget* parent);
  TBatchForm& Form() { return form_; }

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void Run(const std::function<void()>& handler);

  QtUserInterface ui_;
  TBatchWorker worker_;  // the krinu-cli that runs the jobs, started with the first
  TBatchForm form_;
  WidgetBinder binder_;
  QTableView* jobs_ = nullptr;
};

void ShowBatch(QWidget* parent, TSession& session);

}  // namespace krinu
