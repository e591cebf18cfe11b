#pragma once
// The summary window of the last return: modal, centred on the main window; the head, the
// partner table with its filter, a partner's lines, the accounting and the save buttons.

#include <QDialog>

#include "app/summary_form.h"
#include "gui/qt_user_interface.h"
#include "gui/widget_binder.h"

namespace krinu {

class SummaryDialog : public QDialog {
  Q_OBJECT
 public:
  SummaryDialog(const TJob& job, QWidget* parent);
  TSummaryForm& Form() { return form_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Run(const std::function<void()>& handler);

  QtUserInterface ui_;
  TSummaryForm form_;
  WidgetBinder binder_;
};

void ShowSummary(QWidget* parent, const TJob& job);

}  // namespace krinu
