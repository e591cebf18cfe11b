#pragma once
// The administrator register window's logic ("Ügyintézők karbantartása"), free of any
// toolkit: the Qt dialog and krinu-cli render State and press the same handlers.

#include <QChar>
#include <QString>

#include "common/controls.h"
#include "common/record_list.h"
#include "common/user_interface.h"
#include "masterdata/records.h"
#include "masterdata/sqlite_database.h"

namespace krinu {

struct UgyintezokTorzsState {
  TextControl NevEd, TelefonEd;
  // Read-only: filled only by loading an item; it is how an administrator is addressed.
  TextControl AzonositoEd = [] {
    TextControl c;
    c.Enabled = false;
    return c;
  }();
  TextControl SearchUgyintezoEd;
  ListControl UgyintezokLbx;
  QString FocusedControl;
  bool Closed = false;
};

class TUgyintezokTorzsForm {
 public:
  TUgyintezokTorzsForm(TSQLiteDatabase& db, UserInterface& ui) : db_(db), ui_(ui) {}

  void FormCreate() {}
  void FormShow();
  void UjBTnClick();
  void ModositBtnClick();
  void TorlesBtnClick();
  void ClearDataFieldsBtnClick();
  void UgyintezokLbxDblClick();
  void UgyintezokLbxKeyPress(QChar key);
  void SearchUgyintezoEdKeyPress(QChar key);
  void BezarBtnClick() { State.Closed = true; }

  void EdToUgyintezoAdat(TUgyintezoAdat& rec) const;
  void ClearAndLoadUgyintezok();

  UgyintezokTorzsState State;
  TRecordList<TUgyintezoAdat> RegisterList{false};  // entry i is item i of UgyintezokLbx
  qint32 MarkedIndex = -1;
  bool Changed = false;  // an add, change or delete was committed since FormShow

 private:
  void ClearEdits();
  void Reload();

  TSQLiteDatabase& db_;
  UserInterface& ui_;
};

}  // namespace krinu
