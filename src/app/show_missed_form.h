#pragma once
// The skipped-rows viewer ("Kihagyott adatsorok áttkintése"): the rows the last load set
// aside, one per line, and a report of them that can be saved for a spreadsheet.

#include <QStringList>

#include "app/controls.h"
#include "app/named_controls.h"
#include "app/session.h"
#include "app/user_interface.h"

namespace krinu {

struct ShowMissedState {
  ShowMissedState();
  QString Caption;
  MemoControl ShowMissedMemo;
  CaptionControl MentesBtn, ShowMissedOkBtn;
  bool Closed = false;
  NamedControls Controls() {
    return {{QStringLiteral("ShowMissedMemo"), &ShowMissedMemo},
            {QStringLiteral("MentesBtn"), &MentesBtn},
            {QStringLiteral("ShowMissedOkBtn"), &ShowMissedOkBtn}};
  }
};

class TShowMissedForm {
 public:
  TShowMissedForm(UserInterface& ui, const TSession& session) : ui_(ui), session_(session) {}

  void FormShow();
  void ShowMissedOkBtnClick() { State.Closed = true; }
  // Asks for a file and writes the report: record number, reasons, fields.
  void MentesBtnClick();

  ShowMissedState State;

 private:
  UserInterface& ui_;
  const TSession& session_;
};

}  // namespace krinu
