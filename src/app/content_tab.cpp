// The first tab after the structure check: the column assignment, the content check, the
// load and its result.

#include <QFileInfo>
#include <array>

#include "app/handler_runner.h"
#include "app/main_form.h"
#include "content/column_assignment.h"
#include "content/content_check.h"
#include "content/date_format_choices.h"
#include "content/input_load.h"
#include "content/recognisers.h"

namespace krinu {
TColumnSelection TMainForm::SelectedColumns() {
  TColumnSelection columns;
  const std::vector<ComboControl*> combos = State.ColumnCombos();
  for (size_t i = 0; i < combos.size(); ++i) columns.Item[i] = std::max(0, combos[i]->ItemIndex);
  return columns;
}

bool TMainForm::AnalyzeInputDataContent() {
  const QStringList items = ColumnComboItems(State.InputDataSG);
  for (ComboControl* combo : State.ColumnCombos()) {
    combo->Items = items;
    combo->ItemIndex = 0;
  }
  const TAssignment found =
      AssignColumns(State.InputDataSG, session_.HeaderMasks, State.HeaderCbx.Checked);
  const std::vector<ComboControl*> combos = State.ColumnCombos();
  for (size_t i = 0; i < combos.size(); ++i) combos[i]->ItemIndex = found.Columns.Item[i];
  if (found.DateFormat) State.DateFormEd.Text = *found.DateFormat;
  if (found.DecSepIndex) State.DecSepCbx.ItemIndex = *found.DecSepIndex;
  UpdateDateFormatHelp();

  if (!found.Complete()) {
    ui_.Error(IdentificationFailureMessage(
        {State.SzerkezetPanelTitle.Caption, State.HeaderCbx.Caption, State.Label5.Caption,
         State.SzerkezetCheckBtn.Caption, State.TartalomPanelTitle.Caption, State.Label22.Caption,
         State.ContentCheckBtn.Caption}));
    return false;
  }
  return CheckAndLoad();
}

// What the automatic assignment and the content button share once the columns are set.
bool TMainForm::CheckAndLoad() {
  if (!CheckInputDataContent()) {
    // The message as it always read; where to look first goes beside it.
    const QString message =
        ContentCheckFailureMessage(State.TartalomPanelTitle.Caption, State.ContentCheckBtn.Caption);
    if (job_->LastCheckFirstFailure.isEmpty())
      ui_.Error(message);
    else
      ui_.ErrorWithDetail(message, QStringLiteral("Az első hiba: ") + job_->LastCheckFirstFailure);
    return false;
  }
  SetInputStage(TInputStage::ContentChecked);
  return LoadAndNotify();
}

bool TMainForm::LoadAndNotify() {
  if (!LoadInputData()) {
    if (job_->ChangedWhileRead)
      ui_.Error(
          QStringLiteral("Az input fájl megváltozott, miközben a program olvasta, "
                         "ezért semmi nem került betöltésre\n"
                         "Kérem jelölje ki újra a fájlt, ha már nem változik"));
    else
      ui_.ErrorWithReason(QStringLiteral("Hiba lépett fel a fájl betöltése során"),
                          LoadErrorReason(job_->LoadError));
    return false;
  }
  SetInputStage(TInputStage::Loaded);
  NotifyInputLoadResult();
  return true;
}

bool TMainForm::CheckInputDataContent() {
  const TContentCheck check =
      krinu::CheckInputDataContent(State.InputDataSG, State.HeaderCbx.Checked, SelectedColumns(),
                                   State.DateFormEd.Text, State.DecSepCbx.ItemIndex);
  const std::array<QString, 6> names{State.AdoszamColLb.Caption, State.MegnevezesColLb.Caption,
                                     State.DatumColLb.Caption,   State.BizSzamColLb.Caption,
                                     State.AFAAlapColLb.Caption, State.AFAColLb.Caption};
  State.InputDataSG.Marks.clear();
  const auto show = [&](CheckButtonControl& button, const std::optional<CheckMark>& mark,
                        const std::optional<TCheckFailure>& failure) {
    if (!mark) return;  // an unassigned column leaves its mark as it was
    button.Mark = *mark;
    // Tooltips stand alone, so they start as a sentence does.
    const auto sentence = [](QString text) {
      if (!text.isEmpty()) text[0] = text[0].toUpper();
      return text;
    };
    button.Hint =
        failure ? sentence(CheckFailureText(*failure, State.InputDataSG, names)) : QString();
    if (failure && failure->Row >= 0 && failure->GridCol >= 0)
      State.InputDataSG.Marks.append(
          TCellMark{failure->Row, failure->GridCol, sentence(CheckFailureReason(*failure))});
  };
  show(State.AdoszamCheckBBtn, check.AdoszamMark, check.AdoszamFailure);
  show(State.DatumCheckBBtn, check.DatumMark, check.DatumFailure);
  show(State.OsszegCheckBBtn, check.OsszegMark, check.OsszegFailure);
  job_->LastCheckFirstFailure =
      check.FirstFailure ? CheckFailureText(*check.FirstFailure, State.InputDataSG, names)
                         : QString();
  return check.Result;
}

void TMainForm::UpdateDateFormatHelp() {
  const int col = State.DatumColCbx.ItemIndex - 1;
  QStringList values;
  if (col >= 0) {
    const TPreviewGrid& grid = State.InputDataSG;
    const int last = std::min<int>(grid.RowCount, int(grid.Cells.size())) - 1;
    for (int r = State.HeaderCbx.Checked ? 1 : 0; r <= last; ++r)
      values << grid.Cells[r].value(col);
  }
  State.DateFormChoicesBtn.Items = DateFormatsReadingAll(values);
  State.DateFormPreviewLb.Caption =
      values.isEmpty() ? QString()
                       : DateFormatPreviewText(values.front(), State.DateFormEd.Text,
                                               State.DateFormChoicesBtn.Items.size());
}

void TMainForm::DateFormEdChange() {
  UpdateDateFormatHelp();
}

void TMainForm::ColumnCbxChange() {
  // The marked cells belong to the columns they were checked under.
  State.InputDataSG.Marks.clear();
  UpdateDateFormatHelp();
}

void TMainForm::DateFormChoicesBtnClick(int index) {
  if (index < 0 || index >= State.DateFormChoicesBtn.Items.size()) return;
  State.DateFormEd.Text = State.DateFormChoicesBtn.Items[index];
  UpdateDateFormatHelp();
}

bool TMainForm::LoadInputData() {
  ReadInputControls();
  TLoadResult loaded;
  {
    TProgressScope progress(ui_, QStringLiteral("Az input fájl betöltése…"));
    loaded = krinu::LoadInputData(job_->Input, SelectedColumns(), State.DateFormEd.Text,
                                  State.DecSepCbx.ItemIndex, progress.Callback());
  }
  // The lines were counted on the file as it was then; another program may have appended
  // to it or rewritten it since.
  const QFileInfo now(job_->Input.InputFileName);
  job_->ChangedWhileRead = job_->CountedSize >= 0 && (now.size() != job_->CountedSize ||
                                                      now.lastModified() != job_->CountedModified);
  if (job_->ChangedWhileRead) {
    job_->SetLines({}, {}, {});
    return false;
  }
  // A stopped load keeps what it handled before the error, but the counts stay as they were.
  job_->SetLines(std::move(loaded.AFAAdatList), std::move(loaded.MissedRows),
                 std::move(loaded.Skipped));
  job_->LoadError = loaded.Succeeded() ? QString() : loaded.Outcome.Message();
  if (!loaded.Succeeded()) return false;
  State.CsvLoadRowNumEd.Text = QString::number(job_->AFAAdatList.size());
  State.CsvMissedRowNumEd.Text = QString::number(job_->MissedRows.size());
  State.ShowMissedBtn.Enabled = !job_->MissedRows.isEmpty();
  return true;
}

void TMainForm::NotifyInputLoadResult() {
  const TLoadResultMessage m = InputLoadResultMessage(
      qint64(job_->AFAAdatList.size()), job_->MissedRows.size(), State.XMLGenTS.Caption);
  if (m.Kind == TMessageKind::Information)
    ui_.Information(m.Text);
  else
    ui_.Warning(m.Text);
}

void TMainForm::ContentCheckBtnClick() {
  SetInputStage(TInputStage::StructureChecked);
  CheckAndLoad();
}

void TMainForm::LoadFileBTnClick() {
  if (job_->Input.InputFileName.isEmpty()) {
    ui_.Information(QStringLiteral("Kérem jelöljön ki egy fájlt először"));
    return;
  }
  job_->Stage =
      TInputStage::ContentChecked;  // the load starts over; nothing is loaded till it ends
  LoadAndNotify();
}

void TMainForm::ShowMissedBtnClick() {
  ui_.ShowModal(SecondaryWindow::ShowMissed);
}

void TMainForm::Button1Click() {
  State.ConvertedEd.Text = DateConversionTestText(State.DateStrEd.Text, State.DateFormExEd.Text);
}

}  // namespace krinu
