#include "app/main_form.h"
#include "app/register_lists.h"

namespace krinu {

// Without a database (start-up failed before it) the combos simply stay empty.
void TMainForm::RefreshAdozokComboBox() {
  if (Db) krinu::RefreshAdozokComboBox(*Db, AdozokList, State.AdozokCb);
}

void TMainForm::RefreshUgyintezokComboBox() {
  if (Db) krinu::RefreshUgyintezokComboBox(*Db, UgyintezokList, State.UgyintezokCb);
}

}  // namespace krinu
