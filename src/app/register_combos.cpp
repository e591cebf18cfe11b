#include "app/main_form.h"
#include "masterdata/master_database.h"

namespace krinu {

// Reload the list from the database; item i of the combo stands for entry i.
void TMainForm::RefreshAdozokComboBox() {
  AdozokList.Clear();
  State.AdozokCb.Items.clear();
  State.AdozokCb.ItemIndex = -1;
  if (!Db) return;
  LoadAdozok(*Db, AdozokList);
  for (const auto& e : AdozokList)
    State.AdozokCb.Items << e.Object->Adoszam + QStringLiteral(" / ") + e.Object->Nev;
  if (!State.AdozokCb.Items.isEmpty()) State.AdozokCb.ItemIndex = 0;
}

void TMainForm::RefreshUgyintezokComboBox() {
  UgyintezokList.Clear();
  State.UgyintezokCb.Items.clear();
  State.UgyintezokCb.ItemIndex = -1;
  if (!Db) return;
  LoadUgyintezok(*Db, UgyintezokList);
  for (const auto& e : UgyintezokList)
    State.UgyintezokCb.Items << e.Object->Nev + QStringLiteral(" / ") + e.Object->Telefon;
  if (!State.UgyintezokCb.Items.isEmpty()) State.UgyintezokCb.ItemIndex = 0;
}

}  // namespace krinu
