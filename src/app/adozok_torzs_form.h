#pragma once
// The taxpayer register window's logic ("Adózók karbantartása"), free of any toolkit: the
// Qt dialog and krinu-cli render State and press the same handlers.

#include <QChar>
#include <QString>

#include "app/controls.h"
#include "app/named_controls.h"
#include "app/torzs_form.h"
#include "app/user_interface.h"
#include "common/records.h"
#include "masterdata/sqlite_database.h"

namespace krinu {

struct AdozokTorzsState {
  TextControl AdoszamEd, NevEd, BankEd, SzamlaEd;
  TextControl SearchAdozoEd;
  ListControl AdozokLbx;
  // Every control above under its widget's objectName.
  NamedControls Controls() {
    return {{QStringLiteral("AdoszamEd"), &AdoszamEd},
            {QStringLiteral("NevEd"), &NevEd},
            {QStringLiteral("BankEd"), &BankEd},
            {QStringLiteral("SzamlaEd"), &SzamlaEd},
            {QStringLiteral("SearchAdozoEd"), &SearchAdozoEd},
            {QStringLiteral("AdozokLbx"), &AdozokLbx}};
  }
  QString FocusedControl;  // objectName of the control that should take the focus
  bool Closed = false;     // BezarBtn was pressed
};

// What the tax number field keeps of a text typed or pasted into it: "12345678-2-42" as
// written on an invoice gives "12345678242", not a text cut at eleven characters.
[[nodiscard]] QString AdoszamEdInput(const QString& text);

// FormCreate, FormShow, ClearDataFieldsBtnClick, BezarBtnClick, State, RegisterList,
// MarkedIndex and Changed come from TTorzsForm.
class TAdozokTorzsForm : public TTorzsForm<AdozokTorzsState, TAdozoAdat> {
 public:
  TAdozokTorzsForm(TSession& session, UserInterface& ui);

  void FormClose() {}
  void UjBTnClick();
  void ModositBtnClick();
  void TorlesBtnClick();
  void AdozokLbxDblClick() { LoadSelected(); }
  // key is the pressed character; Enter (13) loads the selected item.
  void AdozokLbxKeyPress(QChar key) { ListKeyPress(key); }
  // Runs before the key changes the edit, on the text of that moment.
  void SearchAdozoEdKeyPress(QChar) { Search(State.SearchAdozoEd.Text); }

  [[nodiscard]] TAdozoAdat EdToAdozoAdat() const;
  void ClearAndLoadAdozok() { ClearAndLoad(); }

 private:
  void ClearEdits() override;
  void RecordToEdits(const TAdozoAdat& r) override;
};

}  // namespace krinu
