#pragma once
// The batch window ("Kötegelt feldolgozás"): a table of jobs, one input file each, with the
// choices of the selected row below it; "Indítás" runs them all one after another, each as
// krinu-cli's convert runs it (as `convert --strict`: a return that would be wrong is not
// written, the window's own run would ask first), and the result column tells what became
// of each. The table is saved and opened as a batch manifest.

#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "app/batch_manifest.h"
#include "app/batch_table.h"
#include "app/controls.h"
#include "app/named_controls.h"
#include "app/session.h"
#include "app/user_interface.h"

namespace krinu {

struct BatchState {
  BatchState();
  QString Caption;
  TableControl JobsSG;
  CaptionControl HozzaadasBtn, TorlesBtn, MegnyitasBtn, MentesBtn, InditasBtn, BezarasBtn;
  // The selected row's choices.
  CaptionControl SorLb, EredmenyLb, AdozoLb, UgyintezoLb, IdoszakLb, KimenetLb;
  ComboControl AdozoCb, UgyintezoCb;
  DateControl KezdeteDtPick, VegeDtPick;
  CheckControl NegyedevCbx, OsszevonasCbx, NullasCbx;
  TextControl KimenetEd;
  // What the selected row's run wrote.
  CaptionControl XmlMappaBtn, NaploBtn, OsszesitoBtn;
  CaptionControl StatusLb;
  qsizetype SelectedRow = -1;
  bool Closed = false;
  NamedControls Controls();
};

class TBatchForm {
 public:
  enum JobColumn { BemenetCol, AdozoCol, IdoszakCol, KimenetCol, EredmenyCol };
  // Runs one row as krinu-cli's convert would (the window passes krinu-cli's own runner).
  using RowRunner = std::function<TBatchResult(const TBatchRow&)>;

  TBatchForm(UserInterface& ui, TSession& session, RowRunner runRow);
  TBatchForm(const TBatchForm&) = delete;  // the table reads through this object
  TBatchForm& operator=(const TBatchForm&) = delete;

  // Files from the dialog or dropped on the window: one row each, folders passed over.
  void HozzaadasBtnClick();
  void FilesDropped(const QStringList& paths);
  void JobsSGSelect(qsizetype row);
  // An edit of the selected row's choices; the quarter box sets the previous quarter (or
  // month) as its period.
  void RowChoiceChange();
  void NegyedevCbxClick();
  void TorlesBtnClick();
  void MegnyitasBtnClick();
  void MentesBtnClick();
  // Runs every row, with a progress bar whose "Mégse" stops after the job running then.
  void InditasBtnClick();
  // A double click on a row's result opens its XML's folder, as the button does.
  void JobsSGDblClick(qsizetype row, int column);
  void XmlMappaBtnClick();
  void NaploBtnClick();
  void OsszesitoBtnClick();
  void BezarasBtnClick() { State.Closed = true; }

  // What the row still lacks ("adózó", "időszak", …); empty when it can run.
  [[nodiscard]] QStringList Missing(qsizetype row) const;
  [[nodiscard]] const TBatchRow& Row(qsizetype row) const { return rows_[size_t(row)].Row; }
  [[nodiscard]] const std::optional<TBatchResult>& Result(qsizetype row) const {
    return rows_[size_t(row)].Result;
  }
  [[nodiscard]] qsizetype RowCount() const { return qsizetype(rows_.size()); }

  BatchState State;

 private:
  struct TJobRow {
    TBatchRow Row;
    bool AutoOutput = true;  // the output follows the taxpayer and the period
    std::optional<TBatchResult> Result;
  };
  void AddFile(const QString& path);
  void SetPeriod(TJobRow& job, bool quarter);
  void NameOutputs(TJobRow& job);
  void ShowSelected();
  void Refresh();
  QString Cell(qsizetype row, int column) const;
  void OpenResultFile(const QString& file);
  [[nodiscard]] FileDialogSpec ManifestDialog(const QString& title, bool mustExist) const;

  UserInterface& ui_;
  TSession& session_;
  RowRunner runRow_;
  std::vector<TJobRow> rows_;
  // Per row, why its outputs would take another row's file (as the run would refuse it).
  std::vector<std::optional<QString>> clashes_;
};

}  // namespace krinu
