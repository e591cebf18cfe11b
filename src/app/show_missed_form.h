#pragma once
// The skipped-rows viewer ("Kihagyott adatsorok áttkintése"): the rows the last load set
// aside, each beside its record number in the file and the reason it was skipped, in a
// table the user sorts by any column; and a report of them that can be saved for a
// spreadsheet.

#include <QStringList>
#include <vector>

#include "app/controls.h"
#include "app/job.h"
#include "app/named_controls.h"
#include "app/user_interface.h"

namespace krinu {

struct ShowMissedState {
  ShowMissedState();
  QString Caption;
  TableControl ShowMissedSG;
  CaptionControl MentesBtn, ShowMissedOkBtn;
  bool Closed = false;
  NamedControls Controls() {
    return {{QStringLiteral("ShowMissedSG"), &ShowMissedSG},
            {QStringLiteral("MentesBtn"), &MentesBtn},
            {QStringLiteral("ShowMissedOkBtn"), &ShowMissedOkBtn}};
  }
};

class TShowMissedForm {
 public:
  enum Column { SorszamCol, OkCol, AdatsorCol };

  // The save dialog starts in documentsDir (the user's documents) when it is given.
  TShowMissedForm(UserInterface& ui, const TJob& job, QString documentsDir = {});
  TShowMissedForm(const TShowMissedForm&) = delete;  // the table reads through this object
  TShowMissedForm& operator=(const TShowMissedForm&) = delete;

  // Fills the table in file order, which is the order of the record numbers.
  void FormShow();
  // A click on a column's header: the rows by that column, ascending; by the same column
  // again, the other way round. Rows that tie keep their file order.
  void ShowMissedSGHeaderClick(int column);
  void ShowMissedOkBtnClick() { State.Closed = true; }
  // Asks for a file and writes the report: record number, reasons, fields.
  void MentesBtnClick();

  ShowMissedState State;

 private:
  QString CellText(qsizetype row, int column) const;
  void SortRows();

  UserInterface& ui_;
  const TJob& job_;
  const QString documentsDir_;
  std::vector<qsizetype> order_;  // the job's index of the row shown at each place
};

}  // namespace krinu
