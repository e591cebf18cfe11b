#include "app/main_form.h"

#include <QDir>
#include <QFileInfo>
#include <exception>
#include <stdexcept>

#include "app/settings.h"
#include "common/clock.h"
#include "common/text_util.h"
#include "masterdata/master_database.h"

namespace krinu {

QString VersionText() {
  return QString::number(kVersionMajor) + QLatin1Char('.') + ZeroPadded(kVersionMinor, 2);
}

// Paths the user sees (the log, messages) are written as the system writes them.
QString FolderOf(const QString& path) {
  return WithTrailingSeparator(QFileInfo(path).absolutePath());
}

QString WithTrailingSeparator(const QString& folder) {
  QString dir = QDir::toNativeSeparators(folder);
  if (!dir.endsWith(QDir::separator())) dir += QDir::separator();
  return dir;
}

QString ProgramFile(const QString& programDir, const QString& relativePath) {
  const QString beside = QDir::toNativeSeparators(programDir + relativePath);
  if (QFileInfo::exists(beside)) return beside;
  const QString shared = QDir::toNativeSeparators(
      QDir::cleanPath(programDir + QStringLiteral("../share/krinu/") + relativePath));
  return QFileInfo::exists(shared) ? shared : beside;
}

TMainForm::TMainForm(UserInterface& ui, AppEnvironment env) : ui_(ui), env_(std::move(env)) {
  ProgramDir = FolderOf(env_.ProgramPath);
  UserGuideFile = ProgramFile(ProgramDir, QStringLiteral("Help/Kezikonyv.html"));
  Log.Subscribe([this](LogSource, const QString& line) { State.XMLGenMm.Append(line); });
}

TMainForm::~TMainForm() {
  FormClose();
}

void TMainForm::FormCreate() {
  OutputLocale = QLocale::system();
  State.Caption += QStringLiteral(" / Verzió: ") + VersionText();
  try {
    IniFileName = env_.IniFileName.isEmpty() ? ProgramFile(ProgramDir, QStringLiteral("krinu.ini"))
                                             : env_.IniFileName;
    if (QFileInfo::exists(IniFileName) && LoadHeaderMasks(IniFileName, HeaderMasks)) {
      ui_.Error(QStringLiteral("Probléma a program 'INI' fájljában(") + IniFileName +
                QStringLiteral(")!"));
      startupAborted_ = true;
      State.CloseRequested = true;
      return;
    }
    FindDataDir();
    Log.Write(LogSource::Startup, QStringLiteral("NAV ÁFA bevallás készítő program elindult"));
    Log.Write(LogSource::Startup, QStringLiteral("Adat könyvtár: ") + DataDir);
    Db = OpenMasterDatabase(DataDir, ProgramDir, Log);

    OpenDialog.Title = State.SelectFileBtn.Caption;
    OpenDialog.Filter = QStringLiteral("Csv files (*.csv) |*.csv|All Files (*.*)|*.*");
    OpenDialog.MustExist = true;
    SaveDialog.Title = State.XMLFileSelectBtn.Caption;
    SaveDialog.Filter = QStringLiteral("XML files (*.xml)|*.xml|Any file (*.*)|*.*");
    SaveDialog.MustExist = false;

    State.MainPCActivePage = 0;
    AdozokList.Clear();
    UgyintezokList.Clear();
    AFAAdatList.clear();
    MissedRows.clear();
    SkippedRecords.clear();
    PartnerList.clear();
    RefreshAdozokComboBox();
    RefreshUgyintezokComboBox();

    const auto [start, end] = PreviousMonth(Clock::Today());
    State.IdoszakADtPick.Date = start;
    State.IdoszakBDtPick.Date = end;

    for (CheckButtonControl* b :
         {&State.AdoszamCheckBBtn, &State.DatumCheckBBtn, &State.OsszegCheckBBtn})
      b->Caption.clear();

    State.DecSepCbx.Items = QStringList{QStringLiteral("Vessző"), QStringLiteral("Pont")};
    State.DecSepCbx.ItemIndex = -1;

    SetInputStage(TInputStage::NoFile);
  } catch (const ESQLiteException& e) {
    startupFailed_ = true;
    ui_.Error(QStringLiteral("Probléma merült fel a program inicializálása közben: ") +
              e.Message());
  } catch (const std::exception& e) {
    startupFailed_ = true;
    ui_.Error(QStringLiteral("Probléma merült fel a program inicializálása közben: ") +
              QString::fromUtf8(e.what()));
  }
}

// The per-user folder's ".Krinu" subfolder, created one level deep when missing; the
// program's own folder when there is no per-user folder or it cannot be made. A folder
// named on the command line is used or refused, never swapped for another behind the
// user's back.
void TMainForm::FindDataDir() {
  if (!env_.DataDirOverride.isEmpty()) {
    const QString dir = WithTrailingSeparator(QFileInfo(env_.DataDirOverride).absoluteFilePath());
    const QFileInfo info(dir);
    if (!QDir().mkpath(dir) || !info.isDir() || !info.isWritable())
      throw std::runtime_error(
          (QStringLiteral("a megadott adat könyvtár (") + dir +
           QStringLiteral(") nem hozható létre, vagy nem írható; semmi nem változott"))
              .toStdString());
    DataDir = dir;
    return;
  }
  DataDir = ProgramDir;
  if (env_.UserProfile.isEmpty()) return;
  const QString folder =
      WithTrailingSeparator(WithTrailingSeparator(env_.UserProfile) + QStringLiteral(".Krinu"));
  if (QFileInfo(folder).isDir() || QDir().mkdir(folder)) DataDir = folder;
}

void TMainForm::FormClose() {
  AFAAdatList.clear();
  SkippedRecords.clear();
  AdozokList.Clear();
  UgyintezokList.Clear();
  MissedRows.clear();
  PartnerList.clear();
  Db.reset();  // rolls back an open transaction first
}

void TMainForm::SetInputStage(TInputStage stage) {
  inputStage_ = stage;
  InputLoaded = stage == TInputStage::Loaded;
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
}

void TMainForm::ResetTartalomPanel() {
  for (ComboControl* combo : State.ColumnCombos()) {
    combo->Items = QStringList{QStringLiteral("Kérem, jelölje ki")};
    combo->ItemIndex = -1;
  }
  State.DateFormEd.Text.clear();
  State.DecSepCbx.ItemIndex = -1;
  for (CheckButtonControl* b :
       {&State.AdoszamCheckBBtn, &State.DatumCheckBBtn, &State.OsszegCheckBBtn}) {
    b->Mark = CheckMark::Help;
    b->Caption.clear();
  }
}

void TMainForm::ResetBetoltesPanel() {
  State.CsvLoadRowNumEd.Text = QStringLiteral("?");
  State.CsvMissedRowNumEd.Text = QStringLiteral("?");
  State.ShowMissedBtn.Enabled = false;
}

void TMainForm::AdozokMenuClick() {
  ui_.ShowModal(SecondaryWindow::Adozok);
  RefreshAdozokComboBox();
}

void TMainForm::UgyintezokMenuClick() {
  ui_.ShowModal(SecondaryWindow::Ugyintezok);
  RefreshUgyintezokComboBox();
}

void TMainForm::UserGuideMenuClick() {
  const QString& path = UserGuideFile;
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
