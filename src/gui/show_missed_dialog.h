#pragma once
// The skipped-rows viewer window: modal, centred on the main window; a table of the rows
// with their record numbers and reasons, sorted by a click on a column header.

#include <QDialog>

#include "app/show_missed_form.h"
#include "gui/qt_user_interface.h"
#include "gui/widget_binder.h"

namespace krinu {

class ShowMissedDialog : public QDialog {
  Q_OBJECT
 public:
  ShowMissedDialog(const TJob& job, QWidget* parent, const QString& documentsDir = {});
  TShowMissedForm& Form() { return form_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Run(const std::function<void()>& handler);

  QtUserInterface ui_;
  TShowMissedForm form_;
  WidgetBinder binder_;
};

void ShowMissedRows(QWidget* parent, const TJob& job, const QString& documentsDir);

}  // namespace krinu
