#pragma once
// The administrator register window's logic ("Ügyintézők karbantartása"), free of any
// toolkit: the Qt dialog and krinu-cli render State and press the same handlers.

#include <QChar>
#include <QString>

#include "app/controls.h"
#include "app/named_controls.h"
#include "app/torzs_form.h"
#include "app/user_interface.h"
#include "common/records.h"
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
  // Every control above under its widget's objectName.
  NamedControls Controls() {
    return {{QStringLiteral("NevEd"), &NevEd},
            {QStringLiteral("TelefonEd"), &TelefonEd},
            {QStringLiteral("AzonositoEd"), &AzonositoEd},
            {QStringLiteral("SearchUgyintezoEd"), &SearchUgyintezoEd},
            {QStringLiteral("UgyintezokLbx"), &UgyintezokLbx}};
  }
  QString FocusedControl;
  bool Closed = false;
};

// FormCreate, FormShow, ClearDataFieldsBtnClick, BezarBtnClick, State, RegisterList,
// MarkedIndex and Changed come from TTorzsForm.
class TUgyintezokTorzsForm : public TTorzsForm<UgyintezokTorzsState, TUgyintezoAdat> {
 public:
  TUgyintezokTorzsForm(TSession& session, UserInterface& ui);

  void UjBTnClick();
  void ModositBtnClick();
  void TorlesBtnClick();
  void UgyintezokLbxDblClick() { LoadSelected(); }
  void UgyintezokLbxKeyPress(QChar key) { ListKeyPress(key); }
  void SearchUgyintezoEdKeyPress(QChar) { Search(State.SearchUgyintezoEd.Text); }

  [[nodiscard]] TUgyintezoAdat EdToUgyintezoAdat() const;
  void ClearAndLoadUgyintezok() { ClearAndLoad(); }

 private:
  void ClearEdits() override;
  void RecordToEdits(const TUgyintezoAdat& r) override;
};

}  // namespace krinu
