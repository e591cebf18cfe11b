#pragma once
// The taxpayer register window's logic ("Adózók karbantartása"), free of any toolkit: the
// Qt dialog and krinu-cli render State and press the same handlers.

#include <QChar>
#include <QString>

#include "common/controls.h"
#include "common/record_list.h"
#include "common/user_interface.h"
#include "masterdata/records.h"
#include "masterdata/sqlite_database.h"

namespace krinu {

struct AdozokTorzsState {
  TextControl AdoszamEd, NevEd, BankEd, SzamlaEd;
  TextControl SearchAdozoEd;
  ListControl AdozokLbx;
  QString FocusedControl;  // objectName of the control that should take the focus
  bool Closed = false;     // BezarBtn was pressed
};

class TAdozokTorzsForm {
 public:
  TAdozokTorzsForm(TSQLiteDatabase& db, UserInterface& ui) : db_(db), ui_(ui) {}

  void FormCreate() {}
  void FormShow();
  void FormClose() {}
  void UjBTnClick();
  void ModositBtnClick();
  void TorlesBtnClick();
  void ClearDataFieldsBtnClick();
  void AdozokLbxDblClick();
  // key is the pressed character; Enter (13) loads the selected item.
  void AdozokLbxKeyPress(QChar key);
  // Runs before the key changes the edit, on the text of that moment.
  void SearchAdozoEdKeyPress(QChar key);
  void BezarBtnClick() { State.Closed = true; }

  void EdToAdozoAdat(TAdozoAdat& rec) const;
  void ClearAndLoadAdozok();

  AdozokTorzsState State;
  TRecordList<TAdozoAdat> RegisterList{false};  // entry i is item i of AdozokLbx
  qint32 MarkedIndex = -1;
  bool Changed = false;  // an add, change or delete was committed since FormShow

 private:
  void ClearEdits();
  void Reload();

  TSQLiteDatabase& db_;
  UserInterface& ui_;
};

}  // namespace krinu
