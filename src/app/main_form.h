#pragma once
// The main window's workflow without any toolkit: the state of its controls and one method
// per handler, over the session it shows.

#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>

#include "app/handler_runner.h"
#include "app/job.h"
#include "app/main_form_state.h"
#include "app/recent_files.h"
#include "app/session.h"
#include "app/user_interface.h"
#include "content/column_assignment.h"
#include "content/input_load.h"
#include "intake/structure.h"

namespace krinu {

// A return whose included lines all fall outside its period (or that has none) would be
// wrong: the warning when it is so.
[[nodiscard]] std::optional<TJobWarning> PeriodWarning(const TReturnCounts& counts);
// The line of advice under a failed write of the return.
[[nodiscard]] QString OutputFolderAdvice(const QString& fileName);
// Lines loaded in another currency than the forint: a return made of them would be wrong.
[[nodiscard]] std::optional<TJobWarning> ForeignCurrencyWarning(
    const std::vector<TForeignLine>& lines);
// The partners of the loaded lines (sorted by key) whose tax number fails its check digit.
[[nodiscard]] std::optional<TJobWarning> CheckDigitWarning(const TAFAAdatList& lines);

class TMainForm {
 public:
  TMainForm(UserInterface& ui, TSession& session);
  TMainForm(const TMainForm&) = delete;
  TMainForm& operator=(const TMainForm&) = delete;

  // Start-up (the session's, when it has not run yet, then the window's own) and shutdown,
  // which frees the session.
  void FormCreate();
  void FormClose();
  TStartup Startup() const { return session_.Startup(); }

  // Panels of the first tab.
  void Panel_enabled(MainPanel aPanel, bool NewValue);
  void ResetSzerkezetPanel();
  void ResetTartalomPanel();
  void ResetBetoltesPanel();
  void ResetCheckMarks();

  // The input tab's workflow: how far the current file got. Setting a stage resets and
  // locks the panels after it and clears InputLoaded (set only by the loaded stage).
  using TInputStage = krinu::TInputStage;
  void SetInputStage(TInputStage stage);
  TInputStage InputStage() const { return job_->Stage; }
  bool InputLoaded() const { return job_->InputLoaded(); }
  // The file chosen last was refused (no access, code page, empty, too large).
  bool InputFileRefused() const { return job_->Refused; }

  // The job the window shows: choosing a file starts a new one.
  TJob& Job() { return *job_; }
  const TJob& Job() const { return *job_; }
  std::shared_ptr<TJob> SharedJob() const { return job_; }

  // The input tab's buttons.
  void SelectFileBtnClick();
  // What the file button does once the open dialog has answered: a dropped file, a file
  // named on the command line and krinu-cli's input all come in here.
  void OpenInputFile(const QString& path);
  // A file of the recent list: one that is gone is said to be so, and may leave the list.
  void OpenRecentFile(const QString& path);
  // Files dropped onto the window: one file is chosen as the open dialog would choose it;
  // several files or a folder are refused.
  void FilesDropped(const QStringList& paths);
  void SzerkezetCheckBtnClick();
  void ContentCheckBtnClick();
  void LoadFileBTnClick();
  void ShowMissedBtnClick();
  void ShowLoadWarningsBtnClick();
  // Edits on the content panel that take effect before its button: a column combo changed
  // (the marks of the last check go), the date format typed or picked from the formats
  // that read the column (item index of DateFormChoicesBtn).
  // Any of these after a passed check makes the check stale: the later stages go back.
  void ColumnCbxChange();
  void DateFormEdChange();
  void DateFormChoicesBtnClick(int index);
  void DecSepCbxChange();
  // The separator or the header box edited on the structure panel.
  void StructureSettingChange();
  // The hidden date-conversion test panel.
  void Button1Click();

  // The steps behind the buttons: the automatic column assignment (then the check and the
  // load when all six columns are found), the check on the preview, the load and its report.
  bool AnalyzeInputDataContent();
  bool CheckInputDataContent();
  bool LoadInputData();
  void NotifyInputLoadResult();
  // The item indexes of the six column combos (none selected counts as item 0).
  TColumnSelection SelectedColumns();

  // The second tab's buttons.
  void XMLFileSelectBtnClick();
  void Step1BtnClick();
  // The summary window of the job's last return.
  void SummaryBtnClick();

  // Menu and tab handlers.
  void AdozokMenuClick();
  void UgyintezokMenuClick();
  void UserGuideMenuClick();
  void ExitMenuClick();
  // The batch window: many input files, each its own return.
  void KotegMenuClick();
  void InputTSShow() {}
  void XMLGenTSShow();

  // The combos of the second tab over the session's register lists: item i stands for
  // entry i, item 0 selected (-1 when the list is empty).
  void RefreshAdozokComboBox();
  void RefreshUgyintezokComboBox();

  // Import profiles (app/import_profiles.h). The window applies the profile of a file's
  // layout by itself, saves the corrections of a load that succeeded and preselects the
  // second tab from it; krinu-cli does so only when asked (--profile, --save-profile), so
  // that scripts keep their results.
  enum class TProfileUse { None, Auto, Named };
  TProfileUse ProfileUse = TProfileUse::None;
  QString ProfileName;                // Named: the profile to apply, which must fit the file
  bool SaveCorrections = false;       // a load that succeeded after corrections saves them
  bool TraceLayout = false;           // the layout is found even when no profile is applied
  bool PreselectFromProfile = false;  // the second tab as it was last used with the layout
  // "Visszavonás" beside the note of an applied profile: the file as the plain detection
  // takes it.
  void ProfileUndoBtnClick();
  // The "Mentett beállítások" window.
  void ProfilesMenuClick();
  // The second tab as last used with the profile of the job's last successful load, for
  // files named like the job's; none without one.
  [[nodiscard]] const TRememberedRun* RememberedRunOfJob();
  // Saves the corrections of the job's load (it must have succeeded, with the layout traced)
  // under name, replacing the layout's profile and one of that name. Why not, or nothing.
  [[nodiscard]] std::optional<QString> SaveProfileAs(const QString& name);

  MainFormState State;

  FileDialogSpec OpenDialog, SaveDialog;

  // The window remembers the input files and dialog folders of its user (set before
  // FormCreate); krinu-cli does not, so that scripted runs leave no trace.
  bool RememberRecentFiles = false;
  // krinu-cli makes one return of each job: its run takes the loaded lines rather than a copy
  // of them (the window keeps them for the next run).
  bool OneReturnPerJob = false;
  // krinu-cli writes the log out as it comes and shows no memo: a run of a million lines
  // logs a few hundred thousand lines, which the memo would hold once more.
  void DropLogMemo() { memo_.Release(); }
  const TRecentFiles& Recent() const { return recent_; }
  // The window closes at this place and size (its normal geometry), maximized or not: it
  // opens there next time.
  void WindowClosing(const QRect& normal, bool maximized);

  UserInterface& Ui() { return ui_; }
  TSession& Session() { return session_; }

 private:
  bool RunStructureCheck(const QString& article);
  void ContentSettingChange();
  // A new file or a new load: nothing of the last return stays on show.
  void ForgetLastReturn();
  void ReadInputControls();
  void ShowStructureCheck(const TStructureCheck& check);
  bool CheckAndLoad();
  bool LoadAndNotify();
  // The formats offered for the date column and how its first value reads.
  void UpdateDateFormatHelp();
  void InferDecimalSeparator();
  void ChooseInputFile(const QString& path);
  void RememberInputFile(const QString& path);
  void RememberXmlFolder(const QString& fileName);
  void SaveRecent();
  // The profile side of the chain: which corrections the file's layout gets (none when
  // profiles are not in use or none fits; a refusal is left in the job), the structure part
  // applied over the guess, the content part over the column assignment (once), what a load
  // that succeeded leaves in the store, and what a written return does.
  [[nodiscard]] std::optional<TInputCorrections> ProfileForFile();
  void ApplyProfileStructure(const TInputCorrections& corrections);
  void ApplyProfileContent();
  void RecordProfileAfterLoad();
  void PreselectRememberedRun();
  void RecordRunInProfile();
  [[nodiscard]] TInputChoices ShownChoices();
  void SaveProfiles();
  std::optional<QString> StoreCorrections(const QString& name,
                                          const TInputCorrections& corrections);
  void ProfileNote(const QString& text);

  UserInterface& ui_;
  TSession& session_;
  LogSubscription memo_;  // the log memo hears the session's log while the form lives
  std::shared_ptr<TJob> job_;
  TRecentFiles recent_;
  std::array<int, 2> amountColumns_{-1, -1};  // the amount combos' items as last seen
  bool loadStopped_ = false;                  // the last load was stopped by the user
  bool recentWriteReported_ = false;  // one log line for a data folder that cannot be written
  std::optional<TInputCorrections> pendingContent_;  // for the next column assignment
  bool skipProfileOnce_ = false;                     // the undo's plain detection
};

}  // namespace krinu
