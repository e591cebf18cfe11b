#pragma once
// The administrator register window ("Ügyintézők karbantartása"): renders
// TUgyintezokTorzsForm's state and forwards the user's clicks and keys to its handlers.

#include "app/ugyintezok_torzs_form.h"
#include "gui/register_dialog.h"

namespace krinu {

// Shows the administrator register modally over parent; returns when it closes.
void ShowUgyintezokTorzs(QWidget* parent, TSession& session);

class UgyintezokTorzsDialog : public RegisterDialog {
  Q_OBJECT
 public:
  UgyintezokTorzsDialog(TSession& session, QWidget* parent = nullptr);
  TUgyintezokTorzsForm& Form() { return form_; }

 private:
  TUgyintezokTorzsForm form_;
};

}  // namespace krinu
