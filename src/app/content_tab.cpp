// The first tab after the structure check: the column assignment, the content check, the
// load and its result.

#include <QFileInfo>
#include <QHash>
#include <array>

#include "app/handler_runner.h"
#include "app/main_form.h"
#include "common/tax_number.h"
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
  ApplyProfileContent();
  amountColumns_ = {State.AFAAlapColCbx.ItemIndex, State.AFAColCbx.ItemIndex};
  UpdateDateFormatHelp();

  if (!SelectedColumns().Complete()) {
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
    if (loadStopped_)
      ui_.Information(
          QStringLiteral("Az input fájl betöltése megszakítva, semmi nem került betöltésre"));
    else if (job_->ChangedWhileRead)
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
  RecordProfileAfterLoad();
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
  if (const QString why = DateFormatChoiceReason(values); !why.isEmpty())
    State.DateFormPreviewLb.Caption += QStringLiteral(" (") + why + u')';
}

void TMainForm::DateFormEdChange() {
  ContentSettingChange();
  UpdateDateFormatHelp();
}

void TMainForm::ColumnCbxChange() {
  ContentSettingChange();
  // The marked cells belong to the columns they were checked under.
  State.InputDataSG.Marks.clear();
  UpdateDateFormatHelp();
  InferDecimalSeparator();
  // Said now, rather than left to the check, whose failure would point elsewhere.
  const std::vector<ComboControl*> combos = State.ColumnCombos();
  const std::array<const CaptionControl*, 6> names{&State.AdoszamColLb, &State.MegnevezesColLb,
                                                   &State.DatumColLb,   &State.BizSzamColLb,
                                                   &State.AFAAlapColLb, &State.AFAColLb};
  for (std::size_t i = 0; i < combos.size(); ++i)
    for (std::size_t j = i + 1; j < combos.size(); ++j)
      if (combos[i]->ItemIndex >= 1 && combos[i]->ItemIndex == combos[j]->ItemIndex) {
        ui_.Warning(QStringLiteral("A(z) %1. oszlop két mezőhöz is ki van jelölve: %2, %3")
                        .arg(combos[i]->ItemIndex)
                        .arg(names[i]->Caption, names[j]->Caption));
        return;
      }
}

// Amount columns chosen by hand: their first value tells the decimal separator, as it does
// for the automatic assignment.
void TMainForm::InferDecimalSeparator() {
  const std::array<int, 2> amounts{State.AFAAlapColCbx.ItemIndex, State.AFAColCbx.ItemIndex};
  if (amounts == amountColumns_) return;
  amountColumns_ = amounts;
  const int row = State.HeaderCbx.Checked ? 1 : 0;
  const TPreviewGrid& grid = State.InputDataSG;
  for (const int item : amounts) {
    if (item < 1 || row >= std::min<int>(grid.RowCount, int(grid.Cells.size()))) continue;
    if (const std::optional<TOsszegGuess> guess = DetectOsszeg(grid.Cells[row].value(item - 1))) {
      State.DecSepCbx.ItemIndex = guess->DecSep == u',' ? 0 : 1;
      return;
    }
  }
}

void TMainForm::DateFormChoicesBtnClick(int index) {
  if (index < 0 || index >= State.DateFormChoicesBtn.Items.size()) return;
  if (State.DateFormEd.Text != State.DateFormChoicesBtn.Items[index]) ContentSettingChange();
  State.DateFormEd.Text = State.DateFormChoicesBtn.Items[index];
  UpdateDateFormatHelp();
}

void TMainForm::DecSepCbxChange() {
  ContentSettingChange();
}

void TMainForm::ForgetLastReturn() {
  job_->Run = TJobRun{};
  State.XMLFileSelectEd.Text.clear();
  State.SummaryBtn.Enabled = false;
}

bool TMainForm::LoadInputData() {
  ForgetLastReturn();
  ReadInputControls();
  TLoadResult loaded;
  {
    const QString what = QStringLiteral("Az input fájl betöltése…");
    TProgressScope progress(ui_, what);
    const int currency =
        FindCurrencyColumn(State.InputDataSG, State.HeaderCbx.Checked, SelectedColumns());
    // A million lines take a while: the load may be stopped.
    loaded =
        krinu::LoadInputData(job_->Input, SelectedColumns(), State.DateFormEd.Text,
                             State.DecSepCbx.ItemIndex, progress.CancellablePhase(what), currency);
  }
  loadStopped_ = !loaded.Succeeded() && loaded.Outcome.Failure().Kind == TFailureKind::Cancelled;
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
  job_->LoadRanOutOfMemory =
      !loaded.Succeeded() && loaded.Outcome.Failure().Kind == TFailureKind::Memory;
  if (!loaded.Succeeded()) return false;
  State.CsvLoadRowNumEd.Text = QString::number(job_->AFAAdatList.size());
  State.CsvMissedRowNumEd.Text = QString::number(job_->MissedRows.size());
  State.ShowMissedBtn.Enabled = !job_->MissedRows.isEmpty();
  if (std::optional<TJobWarning> w = ForeignCurrencyWarning(loaded.ForeignLines))
    job_->LoadWarnings.push_back(std::move(*w));
  if (std::optional<TJobWarning> w = CheckDigitWarning(job_->AFAAdatList))
    job_->LoadWarnings.push_back(std::move(*w));
  QStringList lines;
  for (const TJobWarning& w : job_->LoadWarnings) lines << w.Text;
  State.LoadWarningsLb.Caption = lines.join(u'\n');
  State.ShowLoadWarningsBtn.Enabled = !job_->LoadWarnings.empty();
  return true;
}

std::optional<TJobWarning> ForeignCurrencyWarning(const std::vector<TForeignLine>& lines) {
  if (lines.empty()) return std::nullopt;
  QStringList codes;  // in the order they first appear
  QHash<QString, qint64> counts;
  for (const TForeignLine& line : lines)
    if (counts[line.Currency]++ == 0) codes << line.Currency;
  QStringList perCode;
  for (const QString& code : codes) perCode << code + u' ' + QString::number(counts[code]);
  constexpr std::size_t kNamed = 5;
  QStringList first;
  for (std::size_t i = 0; i < std::min(kNamed, lines.size()); ++i)
    first << QString::number(lines[i].RecordNumber);
  if (lines.size() > kNamed) first << QStringLiteral("…");
  TJobWarning w{TWarningKind::ForeignCurrency,
                QString::number(lines.size()) + QStringLiteral(" sor nem forintban: ") +
                    perCode.join(QStringLiteral(", ")) + QStringLiteral(" (az első adatsorok: ") +
                    first.join(QStringLiteral(", ")) + QStringLiteral(")."),
                true,
                {}};
  constexpr std::size_t kListed = 1000;
  for (std::size_t i = 0; i < std::min(kListed, lines.size()); ++i)
    w.Items << QString::number(lines[i].RecordNumber) + QStringLiteral(". adatsor: ") +
                   lines[i].Currency;
  if (lines.size() > kListed) w.Items << QStringLiteral("…");
  return w;
}

std::optional<TJobWarning> CheckDigitWarning(const TAFAAdatList& lines) {
  QStringList partners;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0 && lines[i].Adoszam == lines[i - 1].Adoszam) continue;
    const QString partner = lines[i].Adoszam.ToString();
    if (TaxNumberFaults(partner).CheckDigit) partners << partner;
  }
  if (partners.isEmpty()) return std::nullopt;
  constexpr qsizetype kNamed = 5;
  QString text = QString::number(partners.size()) +
                 QStringLiteral(" partner adószámának ellenőrző számjegye hibás: ") +
                 partners.mid(0, kNamed).join(QStringLiteral(", "));
  text += partners.size() > kNamed ? QStringLiteral(", …") : QStringLiteral(".");
  return TJobWarning{TWarningKind::TaxNumberCheck, text, false, partners};
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

void TMainForm::ShowLoadWarningsBtnClick() {
  for (const TJobWarning& w : job_->LoadWarnings)
    ui_.Information(w.Text + QStringLiteral("\n\n") + w.Items.join(u'\n'));
}

void TMainForm::Button1Click() {
  State.ConvertedEd.Text = DateConversionTestText(State.DateStrEd.Text, State.DateFormExEd.Text);
}

}  // namespace krinu
