#pragma once
// The taxpayer register window ("Adózók karbantartása"): renders TAdozokTorzsForm's state
// and forwards the user's clicks and keys to its handlers.

#include "app/adozok_torzs_form.h"
#include "gui/register_dialog.h"

namespace krinu {

// Shows the taxpayer register modally over parent; returns when it closes.
void ShowAdozokTorzs(QWidget* parent, TSession& session);

class AdozokTorzsDialog : public RegisterDialog {
  Q_OBJECT
 public:
  AdozokTorzsDialog(TSession& session, QWidget* parent = nullptr);
  TAdozokTorzsForm& Form() { return form_; }

 private:
  TAdozokTorzsForm form_;
};

}  // namespace krinu
