#pragma once
// The "Mentett beállítások" window: renders TProfilesForm and calls its handlers.

#include <QDialog>

#include "app/profiles_form.h"
#include "gui/qt_user_interface.h"
#include "gui/widget_binder.h"

namespace krinu {

class ProfilesDialog : public QDialog {
  Q_OBJECT
 public:
  ProfilesDialog(TSession& session, QWidget* parent);
  TProfilesForm& Form() { return form_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Run(const std::function<void()>& handler);

  QtUserInterface ui_;
  TProfilesForm form_;
  WidgetBinder binder_;
};

void ShowProfiles(QWidget* parent, TSession& session);

}  // namespace krinu
