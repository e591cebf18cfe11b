#pragma once
// The main window's workflow without any toolkit: the state of its controls, the
// process-wide objects it owns, and one method per handler.

#include <QLocale>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "app/environment.h"
#include "app/handler_runner.h"
#include "app/main_form_state.h"
#include "app/user_interface.h"
#include "common/header_masks.h"
#include "common/log_sink.h"
#include "common/record_list.h"
#include "common/records.h"
#include "content/afa_adat.h"
#include "content/column_assignment.h"
#include "content/input_load.h"
#include "intake/structure.h"
#include "masterdata/sqlite_database.h"

namespace krinu {

// project() in CMakeLists.txt states the version; the installer and the file properties
// take it from there as well.
inline constexpr int kVersionMajor = KRINU_VERSION_MAJOR;
inline constexpr int kVersionMinor = KRINU_VERSION_MINOR;
QString VersionText();  // "1.07"

// The folder of a path, ending with a separator.
QString FolderOf(const QString& path);
// A folder with the system's separators, ending with one.
QString WithTrailingSeparator(const QString& folder);

// A file the program ships (krinu.ini, Help/...): beside the program, or in
// ../share/krinu/ when installed; the path beside the program when neither has it.
QString ProgramFile(const QString& programDir, const QString& relativePath);

class TMainForm {
 public:
  TMainForm(UserInterface& ui, AppEnvironment env);
  ~TMainForm();
  TMainForm(const TMainForm&) = delete;
  TMainForm& operator=(const TMainForm&) = delete;

  // Start-up and shutdown.
  void FormCreate();
  void FormClose();
  bool StartupAborted() const { return startupAborted_; }
  // Start-up stopped at a failure it reported; the window still opens.
  bool StartupFailed() const { return startupFailed_; }

  // Panels of the first tab.
  void Panel_enabled(MainPanel aPanel, bool NewValue);
  void ResetSzerkezetPanel();
  void ResetTartalomPanel();
  void ResetBetoltesPanel();

  // The input tab's workflow: how far the current file got. Setting a stage resets and
  // locks the panels after it and clears InputLoaded (set only by the loaded stage).
  enum class TInputStage { NoFile, FileChosen, StructureChecked, ContentChecked, Loaded };
  void SetInputStage(TInputStage stage);
  TInputStage InputStage() const { return inputStage_; }
  // The file chosen last was refused (no access, code page, empty, too large).
  bool InputFileRefused() const { return inputRefused_; }

  // The input tab's buttons.
  void SelectFileBtnClick();
  // Files dropped onto the window: one file is chosen as the open dialog would choose it;
  // several files or a folder are refused.
  void FilesDropped(const QStringList& paths);
  void SzerkezetCheckBtnClick();
  void ContentCheckBtnClick();
  void LoadFileBTnClick();
  void ShowMissedBtnClick();
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

  // Menu and tab handlers.
  void AdozokMenuClick();
  void UgyintezokMenuClick();
  void UserGuideMenuClick();
  void ExitMenuClick();
  void InputTSShow() {}
  void XMLGenTSShow();

  // Record lists behind the combos of the second tab: item i stands for entry i.
  void RefreshAdozokComboBox();
  void RefreshUgyintezokComboBox();

  MainFormState State;

  // Application context.
  QString ProgramDir;  // ends with a separator
  QString IniFileName;
  QString UserGuideFile;  // the guide the menu opens; where the own help window reads it
  QString DataDir;        // ends with a separator
  THeaderMasks HeaderMasks;
  QLocale OutputLocale;
  FileDialogSpec OpenDialog, SaveDialog;
  std::unique_ptr<TSQLiteDatabase> Db;
  TRecordList<TAdozoAdat> AdozokList{false};
  TRecordList<TUgyintezoAdat> UgyintezokList{true, DuplicateKeys::Error};
  TInputSettings Input;
  TAFAAdatList AFAAdatList;
  QStringList MissedRows;
  std::vector<TSkippedRecord> SkippedRecords;  // beside MissedRows, for the saved report
  QStringList PartnerList;
  QString XmlFileName;     // the output file of the last run
  QString LastWrittenXml;  // the file the last run wrote; empty when it wrote none
  bool InputLoaded = false;

  // Start-up, the database bootstrap and the declaration run write here; the memo
  // XMLGenMm is subscribed from the start.
  LogSink Log;

  UserInterface& Ui() { return ui_; }
  const AppEnvironment& Environment() const { return env_; }

 private:
  void FindDataDir();
  bool RunStructureCheck(const QString& article);
  void ReadInputControls();
  void ShowStructureCheck(const TStructureCheck& check);
  bool CheckAndLoad();
  bool LoadAndNotify();

  UserInterface& ui_;
  AppEnvironment env_;
  bool startupAborted_ = false;
  bool startupFailed_ = false;
  TInputStage inputStage_ = TInputStage::NoFile;
  bool inputRefused_ = false;
  std::optional<QString> droppedFile_;  // answers the next open dialog
};

}  // namespace krinu
