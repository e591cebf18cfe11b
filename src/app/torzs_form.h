#pragma once
// What the taxpayer and administrator register windows do alike, free of any toolkit: the
// list box over the register's records, the ">>" mark on the record loaded into the edits,
// search as you type and the report of a write. Each window keeps its own edits, checks,
// messages and statements.

#include <QChar>
#include <QString>
#include <utility>

#include "app/controls.h"
#include "app/register_lists.h"
#include "app/session.h"
#include "app/user_interface.h"
#include "common/record_list.h"
#include "common/records.h"
#include "common/result.h"
#include "masterdata/sqlite_database.h"

namespace krinu {

// TState holds the window's controls, among them its list box, FocusedControl and Closed.
template <class TState, class TRecord>
class TTorzsForm {
 public:
  virtual ~TTorzsForm() = default;

  void FormCreate() {}
  void FormShow() {
    State.Closed = false;
    Changed = false;
    Failed = false;
    if (!Reload()) return;
    State.FocusedControl = firstEdit_;
  }
  void ClearDataFieldsBtnClick() { ClearEdits(); }
  void BezarBtnClick() { State.Closed = true; }

  TState State;
  TRecordList<TRecord> RegisterList{false};  // entry i is item i of the list box
  qint32 MarkedIndex = -1;
  bool Changed = false;  // an add, change or delete was committed since FormShow
  // Since FormShow a step failed that is reported as a general error: the register could
  // not be read, or a write could not begin. The handler went no further.
  bool Failed = false;

 protected:
  using Loader = TStatus (*)(TSQLiteDatabase&, TRecordList<TRecord>&);
  using ItemTextOf = QString (*)(const TRecord&);

  // list names the list box in TState; firstEdit is the objectName focused on showing.
  // The window opens only over a session whose start-up opened the database.
  TTorzsForm(TSession& session, UserInterface& ui, ListControl TState::*list, Loader load,
             ItemTextOf itemText, QString firstEdit)
      : db_(*session.Db),
        ui_(ui),
        list_(list),
        load_(load),
        itemText_(itemText),
        firstEdit_(std::move(firstEdit)) {}

  virtual void ClearEdits() = 0;
  virtual void RecordToEdits(const TRecord& rec) = 0;

  // Empties the edits and refills the list box from the database, item 0 selected. False
  // when the database could not be read (the list box stays empty).
  bool ClearAndLoad() {
    ClearEdits();
    return Succeeded(LoadItems(db_, RegisterList, List(), load_, itemText_));
  }
  // ClearAndLoad with nothing marked: on showing and after every committed write.
  bool Reload() {
    if (!ClearAndLoad()) return false;
    MarkedIndex = -1;
    return true;
  }
  void Committed() {
    Changed = true;
    (void)Reload();
  }
  // A failure of the database layer is shown as a general error and ends the handler.
  template <class T>
  bool Succeeded(const TResult<T>& result) {
    if (result) return true;
    ui_.Error(result.Message());
    Failed = true;
    return false;
  }

  // The list box's double click: loads the selected record into the edits and marks it.
  void LoadSelected() {
    const int k = List().ItemIndex;
    if (k < 0 || k >= RegisterList.Count()) return;
    RecordToEdits(*RegisterList.Object(k));
    MarkListItem(List(), MarkedIndex, k);
  }
  // Enter (13) in the list box does what a double click does.
  void ListKeyPress(QChar key) {
    if (key.unicode() == 13) LoadSelected();
  }
  void Search(const QString& text) { SearchListItems(List(), text); }

  // Shows a failed check as "Formátum hiba: …"; true when the record may be written.
  bool FormatOk(const Trrc& check) {
    if (!check.Ok()) ui_.Information(QStringLiteral("Formátum hiba: ") + check.Note);
    return check.Ok();
  }
  // Reports a write: failedPrefix and the reason as an error, or done; a committed write
  // reloads the list.
  void ReportWrite(const TResult<Trrc>& written, const QString& failedPrefix, const QString& done) {
    if (!Succeeded(written)) return;
    const Trrc& rrc = written.Value();
    if (!rrc.Ok()) {
      ui_.Error(failedPrefix + rrc.Note);
      return;
    }
    ui_.Information(done);
    Committed();
  }
  // The change button's report, worded alike in both windows.
  void ReportChange(const TResult<Trrc>& written) {
    ReportWrite(written, QStringLiteral("Módosítás meghiúsult, hibaüzenet: "),
                QStringLiteral("Módosítás végrehajtva"));
  }

  TSQLiteDatabase& db_;
  UserInterface& ui_;

 private:
  ListControl& List() { return State.*list_; }

  ListControl TState::*list_;
  Loader load_;
  ItemTextOf itemText_;
  QString firstEdit_;
};

}  // namespace krinu
