#include "app/main_form.h"

#include "app/register_lists.h"
#include "app/settings.h"
#include "common/clock.h"

namespace krinu {

namespace {

void DisableRegisters(MainFormState& s) {
  for (Control* c :
       std::initializer_list<Control*>{&s.AdozokCb, &s.UgyintezokCb, &s.UjAdozoBtn,
                                       &s.UjUgyintezoBtn, &s.AdozokMenu, &s.UgyintezokMenu})
    c->Enabled = false;
}

}  // namespace

TMainForm::TMainForm(UserInterface& ui, TSession& session)
    : ui_(ui), session_(session), job_(session.NewJob()) {
  memo_ = session_.Log.Subscribe(
      [this](LogSource, const QString& line) { State.XMLGenMm.Append(line); });
}

void TMainForm::FormCreate() {
  State.Caption += QStringLiteral(" / Verzió: ") + VersionText();
  const TStartup startup = session_.Start(ui_);
  if (startup == TStartup::Aborted) State.CloseRequested = true;
  if (startup == TStartup::Aborted || startup == TStartup::NotStarted) return;
  // Without its database the window still works up to the return; the registers show
  // that they cannot be used.
  if (!session_.Db) DisableRegisters(State);

  OpenDialog.Title = State.SelectFileBtn.Caption;
  OpenDialog.Filter = QStringLiteral("Csv files (*.csv) |*.csv|All Files (*.*)|*.*");
  OpenDialog.MustExist = true;
  SaveDialog.Title = State.XMLFileSelectBtn.Caption;
  SaveDialog.Filter = QStringLiteral("XML files (*.xml)|*.xml|Any file (*.*)|*.*");
  SaveDialog.MustExist = false;
  if (RememberRecentFiles && !session_.DataDir.isEmpty())
    recent_ = LoadRecentFiles(RecentFilesName(session_.DataDir));

  State.MainPCActivePage = 0;
  // Start-up has read both registers.
  FillItems(session_.AdozokList, State.AdozokCb, AdozoItemText);
  FillItems(session_.UgyintezokList, State.UgyintezokCb, UgyintezoItemText);

  const auto [start, end] = PreviousMonth(Clock::Today());
  State.IdoszakADtPick.Date = start;
  State.IdoszakBDtPick.Date = end;

  for (CheckButtonControl* b :
       {&State.AdoszamCheckBBtn, &State.DatumCheckBBtn, &State.OsszegCheckBBtn})
    b->Caption.clear();

  State.DecSepCbx.Items = QStringList{QStringLiteral("Vessző"), QStringLiteral("Pont")};
  State.DecSepCbx.ItemIndex = -1;

  SetInputStage(TInputStage::NoFile);
}

void TMainForm::SaveRecent() {
  const std::optional<QString> failed = SaveRecentFiles(RecentFilesName(session_.DataDir), recent_);
  if (!failed || recentWriteReported_) return;
  recentWriteReported_ = true;
  session_.Log.Write(LogSource::Startup,
                     QStringLiteral("A legutóbbi fájlok listája nem menthető (") +
                         RecentFilesName(session_.DataDir) + QStringLiteral("): ") + *failed);
}

void TMainForm::WindowClosing(const QRect& normal, bool maximized) {
  if (!RememberRecentFiles || session_.DataDir.isEmpty() || !normal.isValid()) return;
  if (recent_.Window == normal && recent_.Maximized == maximized) return;
  recent_.Window = normal;
  recent_.Maximized = maximized;
  SaveRecent();
}

void TMainForm::FormClose() {
  session_.Close();
}

void TMainForm::SetInputStage(TInputStage stage) {
  job_->Stage = stage;
  if (stage == TInputStage::NoFile) {
    ResetSzerkezetPanel();
    Panel_enabled(MainPanel::Szerkezet, false);
  }
  if (stage <= TInputStage::FileChosen) {
    ResetTartalomPanel();
    Panel_enabled(MainPanel::Tartalom, false);
  }
  if (stage <= TInputStage::StructureChecked) {
    ResetBetoltesPanel();
    Panel_enabled(MainPanel::Betoltes, false);
  }
  if (stage == TInputStage::StructureChecked) Panel_enabled(MainPanel::Tartalom, true);
  if (stage == TInputStage::ContentChecked) Panel_enabled(MainPanel::Betoltes, true);
}

void TMainForm::Panel_enabled(MainPanel aPanel, bool NewValue) {
  for (Control* c : State.ControlsOn(aPanel)) c->Enabled = NewValue;
}

void TMainForm::ResetSzerkezetPanel() {
  State.HeaderCbx.Checked = false;
  State.CsvSeparatorEd.Text = QStringLiteral("?");
  State.ColCountPrevEd.Text = QStringLiteral("?");
  State.RowCountPrevEd.Text = QStringLiteral("?");
  State.InputDataSG.FixedRows = 0;
  State.InputDataSG.Resize(1, 1);
  State.InputDataSG.Marks.clear();
}

void TMainForm::ResetTartalomPanel() {
  for (ComboControl* combo : State.ColumnCombos()) {
    combo->Items = QStringList{QStringLiteral("Kérem, jelölje ki")};
    combo->ItemIndex = -1;
  }
  State.DateFormEd.Text.clear();
  State.DecSepCbx.ItemIndex = -1;
  ResetCheckMarks();
  State.DateFormChoicesBtn.Items.clear();
  State.DateFormPreviewLb.Caption.clear();
}

void TMainForm::ResetCheckMarks() {
  for (CheckButtonControl* b :
       {&State.AdoszamCheckBBtn, &State.DatumCheckBBtn, &State.OsszegCheckBBtn}) {
    b->Mark = CheckMark::Help;
    b->Caption.clear();
    b->Hint.clear();
  }
  State.InputDataSG.Marks.clear();
}

// A setting that a passed check or the load read has changed: what they found no longer
// holds, so the stages after it go back as a new check would put them.
void TMainForm::StructureSettingChange() {
  if (job_->Stage > TInputStage::FileChosen) SetInputStage(TInputStage::FileChosen);
}

void TMainForm::ContentSettingChange() {
  if (job_->Stage <= TInputStage::StructureChecked) return;
  SetInputStage(TInputStage::StructureChecked);
  ResetCheckMarks();
}

void TMainForm::ResetBetoltesPanel() {
  State.CsvLoadRowNumEd.Text = QStringLiteral("?");
  State.CsvMissedRowNumEd.Text = QStringLiteral("?");
  State.ShowMissedBtn.Enabled = false;
  State.LoadWarningsLb.Caption.clear();
  State.ShowLoadWarningsBtn.Enabled = false;
}

void TMainForm::AdozokMenuClick() {
  ui_.ShowModal(SecondaryWindow::Adozok);
  RefreshAdozokComboBox();
}

void TMainForm::KotegMenuClick() {
  ui_.ShowModal(SecondaryWindow::Batch);
}

void TMainForm::UgyintezokMenuClick() {
  ui_.ShowModal(SecondaryWindow::Ugyintezok);
  RefreshUgyintezokComboBox();
}

// A register changed in its window: read it again; the combo stays empty when it cannot be.
void TMainForm::RefreshAdozokComboBox() {
  if (session_.Db)
    LoadItems(ui_, *session_.Db, session_.AdozokList, State.AdozokCb, LoadAdozok, AdozoItemText);
}

void TMainForm::RefreshUgyintezokComboBox() {
  if (session_.Db)
    LoadItems(ui_, *session_.Db, session_.UgyintezokList, State.UgyintezokCb, LoadUgyintezok,
              UgyintezoItemText);
}

void TMainForm::UserGuideMenuClick() {
  const QString& path = session_.UserGuideFile;
  const OpenDocumentResult result = ui_.OpenDocument(path);
  if (result == OpenDocumentResult::NotFound)
    ui_.Error(
        QStringLiteral("Sajnálom, a kézikönyv fájlt nem találom, a következő néven kerestem: \n") +
        path);
  // No HTML viewer on the desktop: the menu item must still show the guide.
  if (result == OpenDocumentResult::Failed) ui_.ShowModal(SecondaryWindow::Help);
}

void TMainForm::ExitMenuClick() {
  State.CloseRequested = true;
}

void TMainForm::XMLGenTSShow() {
  State.FocusedControl = QStringLiteral("XMLFileSelectBtn");
}

}  // namespace krinu
