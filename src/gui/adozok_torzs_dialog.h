#pragma once
// The taxpayer register window ("Adózók karbantartása"): renders TAdozokTorzsForm's state
// and forwards the user's clicks and keys to its handlers.

#include "gui/register_dialog.h"
#include "masterdata/adozok_torzs_form.h"

namespace krinu {

// Shows the taxpayer register modally over parent; returns when it closes.
void ShowAdozokTorzs(QWidget* parent, TSQLiteDatabase& db);

class AdozokTorzsDialog : public RegisterDialog {
  Q_OBJECT
 public:
  AdozokTorzsDialog(TSQLiteDatabase& db, QWidget* parent = nullptr);
  TAdozokTorzsForm& Form() { return form_; }

 private:
  TAdozokTorzsForm form_;
};

}  // namespace krinu
