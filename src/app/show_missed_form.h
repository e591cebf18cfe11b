#pragma once
// The skipped-rows viewer ("Kihagyott adatsorok áttkintése"): the rows the last load set
// aside, one per line, and a report of them that can be saved for a spreadsheet.

#include <QStringList>
#include <vector>

#include "app/controls.h"
#include "app/named_controls.h"
#include "app/user_interface.h"
#include "content/input_load.h"

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
  TShowMissedForm(UserInterface& ui, const QStringList& missedRows,
                  const std::vector<TSkippedRecord>& skipped)
      : ui_(ui), missedRows_(missedRows), skipped_(skipped) {}

  void FormShow();
  void ShowMissedOkBtnClick() { State.Closed = true; }
  // Asks for a file and writes the report: record number, reasons, fields.
  void MentesBtnClick();

  ShowMissedState State;

 private:
  UserInterface& ui_;
  const QStringList& missedRows_;
  const std::vector<TSkippedRecord>& skipped_;
};

}  // namespace krinu
