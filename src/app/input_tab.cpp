// The first tab's chain: choosing the input file, its structure, and what follows.

#include <QDir>
#include <QFileInfo>

#include "app/handler_runner.h"
#include "app/main_form.h"
#include "intake/code_page.h"
#include "reader/input_file.h"

namespace krinu {

void TMainForm::SelectFileBtnClick() {
  FileDialogSpec dialog = OpenDialog;
  dialog.FileName = DialogStartFolder({RememberRecentFiles ? recent_.InputDir : QString(),
                                       dialog.FileName, session_.Env.DocumentsDir});
  if (const std::optional<QString> chosen = ui_.OpenFile(dialog)) OpenInputFile(*chosen);
}

void TMainForm::OpenInputFile(const QString& path) {
  ChooseInputFile(path);
  RememberInputFile(path);
}

void TMainForm::OpenRecentFile(const QString& path) {
  if (QFileInfo::exists(path)) {
    OpenInputFile(path);
    return;
  }
  if (ui_.Confirm(QStringLiteral("A fájl nem található: %1\n"
                                 "Eltávolítja a legutóbbi fájlok listájáról?")
                      .arg(path)) &&
      recent_.Remove(path))
    SaveRecent();
}

// A file that was taken in goes to the top of the list and its folder is where the open
// dialog starts next time; a listed file that is no longer there leaves the list.
void TMainForm::RememberInputFile(const QString& path) {
  if (!RememberRecentFiles || path.isEmpty()) return;
  const QFileInfo info(path);
  if (!info.exists()) {
    if (recent_.Remove(path)) SaveRecent();
    return;
  }
  const TRecentFiles before = recent_;
  recent_.InputDir = QDir::toNativeSeparators(info.absolutePath());
  if (!job_->Refused) recent_.Add(QDir::toNativeSeparators(info.absoluteFilePath()));
  if (recent_ != before) SaveRecent();
}

void TMainForm::ChooseInputFile(const QString& path) {
  job_ = session_.NewJob();
  ForgetLastReturn();
  ProfileNote({});
  State.ProfileRunLb.Caption.clear();
  SetInputStage(TInputStage::FileChosen);
  // The file's name lives in the job; the edit shows it and every reading takes it from there.
  job_->Input.InputFileName = path;
  State.FileNameEd.Text = path;
  job_->Refused = true;  // until the file has passed the checks below
  job_->Input.InputLineCount = -1;

  const TResult<TFBytes> sample = ReadSampleExclusively(job_->Input.InputFileName);
  if (!sample) {
    // The text below is for a file that another program holds; any other cause is named.
    if (const std::optional<QString> problem = InputFileProblem(path)) {
      ui_.Error(*problem);
      return;
    }
    ui_.Error(
        QStringLiteral("Nem sikerült kizárólagos hozzáférést kapni a kijelölt fájlhoz\n"
                       "Kérem ellenőrizze, nem tartja-e nyitva a fájlt valamely másik alkalmazás\n"
                       "Ha sikerült szabaddá tennie a fájlt, jelölje ki újra input fájlként"));
    return;
  }
  const TDetectedCodePage detected = DetectCodePage(sample.Value());
  job_->Input.InputCodePage = detected.CodePage;
  job_->Input.InputHasBOM = detected.HasBOM;
  State.CodePageLb.Caption = CodePageName(job_->Input.InputCodePage);
  if (!CodePageSupported(job_->Input.InputCodePage)) {
    ui_.Error(
        QStringLiteral("Sajnos az input fájl kód-táblája nem támogatott\n"
                       "Kérem készítsen/kérjen új input fájlt.\n"
                       "Támogatott kód táblák: Windows alapértelmezett, UTF8, "
                       "UTF16(little endien)"));
    return;
  }
  Panel_enabled(MainPanel::Szerkezet, true);

  const QFileInfo counted(job_->Input.InputFileName);
  job_->CountedSize = counted.size();
  job_->CountedModified = counted.lastModified();
  TStructureGuess guess;
  {
    TProgressScope progress(ui_, QStringLiteral("Az input fájl sorainak számlálása…"));
    guess = AnalyzeInputDataStructure(job_->Input.InputFileName, job_->Input.InputCodePage,
                                      State.CsvSeparatorEd.Text, State.HeaderCbx.Checked,
                                      progress.Callback());
  }
  State.CsvSeparatorEd.Text = guess.Separator;
  State.HeaderCbx.Checked = guess.Header;
  if (guess.LineCount) job_->Input.InputLineCount = *guess.LineCount;
  // The layout's profile corrects what the detection chose, before any check speaks.
  const std::optional<TInputCorrections> profile = ProfileForFile();
  if (!job_->Profile.Refusal.isEmpty()) return;
  const bool structureCorrected = profile && profile->TouchesStructure();
  if (structureCorrected) ApplyProfileStructure(*profile);
  // An empty file gives the guess nothing to vote on; saying it is empty is the truth.
  if (!guess.Status.Ok() && job_->Input.InputLineCount != 0 && !structureCorrected) {
    job_->Refused = false;  // the user corrects the structure panel and checks again
    ui_.Error(QStringLiteral("Nem sikerült feltérképezni az input fájl szerkezetét\n"
                             "Kérem állítsa be a fájl szerkezetének jellemzőit a \"") +
              State.SzerkezetPanelTitle.Caption + QStringLiteral("\" panelon\nmajd nyomja meg a ") +
              State.SzerkezetCheckBtn.Caption + QStringLiteral(" gombot"));
    return;
  }
  if (job_->Input.InputLineCount == 0) {
    ui_.Error(QStringLiteral("Az input fájl üres, jelöljön ki egy másikat"));
    return;
  }
  if (job_->Input.InputLineCount > kMaxInputLines) {
    ui_.Error(
        QStringLiteral("Az input fájl túl nagy\n"
                       "maximum 1 millió sort képes a program feldolgozni\n"
                       "kérem jelöljön ki egy másik fájlt"));
    return;
  }
  job_->Refused = false;
  if (RunStructureCheck(QStringLiteral("a(z)"))) AnalyzeInputDataContent();
}

void TMainForm::FilesDropped(const QStringList& paths) {
  if (paths.isEmpty()) return;
  if (paths.size() > 1) {
    ui_.Warning(
        QStringLiteral("Egyszerre csak egy input fájl jelölhető ki.\n"
                       "Kérem, egyetlen CSV fájlt húzzon az ablakra."));
    return;
  }
  if (QFileInfo(paths.front()).isDir()) {
    ui_.Warning(QStringLiteral("Mappa nem jelölhető ki input fájlként:\n") + paths.front() +
                QStringLiteral("\nKérem, egy CSV fájlt húzzon az ablakra."));
    return;
  }
  OpenInputFile(QFileInfo(paths.front()).absoluteFilePath());
}

void TMainForm::SzerkezetCheckBtnClick() {
  SetInputStage(TInputStage::FileChosen);
  if (RunStructureCheck(QStringLiteral("a"))) AnalyzeInputDataContent();
}

// The structure check shared by both buttons; only one word of its message differs.
bool TMainForm::RunStructureCheck(const QString& article) {
  ReadInputControls();
  const TStructureCheck check = CheckInputDataStructure(job_->Input);
  ShowStructureCheck(check);
  if (!check.Status.Ok()) {
    ui_.Error(QStringLiteral("Probléma lépett fel az input fájl szerkezetét illetően:\n") +
              check.Status.Message() +
              QStringLiteral("\nkérem igazítson a fájl szerkezetének jellemzőin ") + article +
              QStringLiteral(" \"") + State.SzerkezetPanelTitle.Caption +
              QStringLiteral("\" panelon\nvagy jelöljön ki egy másik fájlt"));
    return false;
  }
  SetInputStage(TInputStage::StructureChecked);
  return true;
}

// The structure panel's controls as every reading of the file takes them (the file's name is
// the job's already).
void TMainForm::ReadInputControls() {
  job_->Input.InputSeparatorChar =
      State.CsvSeparatorEd.Text.isEmpty() ? QChar() : State.CsvSeparatorEd.Text.at(0);
  job_->Input.HeaderPresent = State.HeaderCbx.Checked;
}

void TMainForm::ShowStructureCheck(const TStructureCheck& check) {
  static_cast<TPreviewGrid&>(State.InputDataSG) = check.Preview;
  if (check.FieldCount) State.ColCountPrevEd.Text = QString::number(*check.FieldCount);
  if (check.RowCount) State.RowCountPrevEd.Text = QString::number(*check.RowCount);
}

}  // namespace krinu
