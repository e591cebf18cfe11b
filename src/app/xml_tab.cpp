// The second tab: the output file and the declaration run.

#include <QDir>
#include <QFileInfo>

#include "app/main_form.h"
#include "app/output_files.h"
#include "common/text_util.h"
#include "declaration/declaration_run.h"

namespace krinu {

std::optional<TJobWarning> PeriodWarning(const TReturnCounts& counts) {
  if (counts.IncludedLines > 0 && counts.OutsidePeriod < counts.IncludedLines) return std::nullopt;
  return TJobWarning{TWarningKind::NothingInPeriod,
                     QStringLiteral("A kijelölt időszakba egyetlen tétel sem esik (%1 tételből "
                                    "%2 kívül esik).")
                         .arg(counts.IncludedLines)
                         .arg(counts.OutsidePeriod),
                     true,
                     {}};
}

// The system's reason says what failed; this says what to do about it.
QString OutputFolderAdvice(const QString& fileName) {
  const QFileInfo folder(QFileInfo(fileName).absolutePath());
  if (!folder.exists())
    return QStringLiteral("A(z) ") + QDir::toNativeSeparators(folder.filePath()) +
           QStringLiteral(" mappa nem létezik; kérem, válasszon egy másik mappát.");
  return QStringLiteral("Kérem, válasszon egy másik mappát, amelybe a programnak van írási joga.");
}

void TMainForm::XMLFileSelectBtnClick() {
  FileDialogSpec dialog = SaveDialog;
  dialog.FileName = DialogStartFolder({RememberRecentFiles ? recent_.XmlDir : QString(),
                                       dialog.FileName, session_.Env.DocumentsDir});
  const std::optional<QString> chosen = ui_.SaveFile(dialog);
  if (!chosen || chosen->isEmpty()) return;
  const QString fileName = XmlFileNameFor(*chosen);
  RememberXmlFolder(fileName);
  // The dialog does not ask before overwriting; an existing file of another kind (the
  // export itself, say) is most likely a slip of the mouse.
  const QFileInfo info(fileName);
  if (info.exists() && info.suffix().compare(QStringLiteral("xml"), Qt::CaseInsensitive) != 0 &&
      !ui_.Confirm(QStringLiteral("A kijelölt fájl már létezik, és nem XML fájl:\n") + fileName +
                   QStringLiteral("\nBiztosan ebbe a fájlba kerüljön az XML nyomtatvány?")))
    return;
  State.XMLFileSelectEd.Text = fileName;
}

void TMainForm::Step1BtnClick() {
  TDeclarationInput input;
  input.Params = DeclarationParams(State.IdoszakADtPick.Date, State.IdoszakBDtPick.Date,
                                   State.NyomtVerEd.Text);
  if (!InputLoaded()) {
    ui_.Information(
        QStringLiteral("Még nem volt sikeres input (CSV) fájl betöltés, nem készíthető XML  "
                       "nyomtatvány"));
    return;
  }
  const int taxpayer = State.AdozokCb.ItemIndex;
  if (taxpayer < 0 || taxpayer >= session_.AdozokList.Count()) {
    ui_.Information(QStringLiteral("Kérem, először jelöljön ki egy Adózót"));
    return;
  }
  const int administrator = State.UgyintezokCb.ItemIndex;
  if (administrator < 0 || administrator >= session_.UgyintezokList.Count()) {
    ui_.Information(QStringLiteral("Kérem, először jelöljön ki egy Ügyintézőt"));
    return;
  }
  if (State.IdoszakBDtPick.Date < State.IdoszakADtPick.Date) {
    ui_.Error(
        QStringLiteral("Az időszak vége korábbi, mint a kezdete\n"
                       "Kérem, javítsa az időszak dátumait"));
    return;
  }
  if (HasControlCharacter(State.NyomtVerEd.Text)) {
    ui_.Error(
        QStringLiteral("A nyomtatvány verziója nem helyes: vezérlő karaktert nem tartalmazhat"));
    return;
  }
  if (State.XMLFileSelectEd.Text.isEmpty()) {
    XMLFileSelectBtnClick();
    if (State.XMLFileSelectEd.Text.isEmpty()) {
      ui_.Information(
          QStringLiteral("Kérem, először jelöljön ki egy fájlt az XML nyomtatvány adatok "
                         "tárolására"));
      return;
    }
  }
  // "dir/" would become the hidden "dir/.xml".
  const auto folderRefused = [this](const QString& name) {
    ui_.Error(QStringLiteral("Az XML fájl neve egy mappát jelöl: ") + name +
              QStringLiteral("\nKérem, adjon meg egy fájlnevet"));
  };
  if (State.XMLFileSelectEd.Text.endsWith(u'/') ||
      State.XMLFileSelectEd.Text.endsWith(QDir::separator())) {
    folderRefused(State.XMLFileSelectEd.Text);
    return;
  }
  // A run the user stops leaves the job as it found it.
  TJobRun& run = job_->Run;
  const QString previousXmlFileName = run.XmlFileName;
  run.XmlFileName = XmlFileNameFor(State.XMLFileSelectEd.Text);
  if (QFileInfo::exists(run.XmlFileName) && !State.OverWriteXmlFileCbx.Checked) {
    ui_.Error(QStringLiteral("A kijelölt XML fájl már létezik és nem engedélyezett a felülírása"));
    return;
  }
  if (NamesFolder(run.XmlFileName)) {
    folderRefused(run.XmlFileName);
    return;
  }
  if (SameFile(run.XmlFileName, job_->Input.InputFileName)) {
    ui_.Error(OutputIsInputMessage(run.XmlFileName));
    return;
  }

  input.Taxpayer = *session_.AdozokList.Object(taxpayer);
  input.Administrator = *session_.UgyintezokList.Object(administrator);
  input.BizSum = State.BizSumCbx.Checked;
  input.DropZero = State.DropZeroItemsCbx.Checked;
  input.Locale = session_.OutputLocale;
  input.XmlFileName = run.XmlFileName;
  TDeclarationOutcome outcome;
  // The run prepares a copy: the loaded lines stay as the load left them for the next run,
  // and a stopped run leaves the last one's return as it was.
  TAFAAdatList lines = OneReturnPerJob ? job_->TakeLinesForRun() : job_->LinesForRun();
  // What would make the return wrong: asked about before the file is written.
  std::vector<TJobWarning> warnings;
  for (const TJobWarning& w : job_->LoadWarnings)
    if (w.Blocking) warnings.push_back(w);
  bool declined = false;
  {
    // Closed before any box below opens.
    const QString title = QStringLiteral("Az XML nyomtatvány készítése\n");
    TProgressScope progress(ui_, title);
    TRunProgress phases;
    phases.Preparation = progress.CancellablePhase(
        title + QStringLiteral("1/3: A tételek összesítése és ellenőrzése…"));
    phases.Document =
        progress.CancellablePhase(title + QStringLiteral("2/3: A nyomtatvány összeállítása…"));
    phases.Write = progress.Phase(title + QStringLiteral("3/3: Fájlba írás…"));
    outcome = PrepareDeclaration(lines, input, phases.Preparation);
    if (!outcome.Cancelled()) {
      if (std::optional<TJobWarning> period = PeriodWarning(outcome.Prepared.Counts))
        warnings.push_back(std::move(*period));
      if (!warnings.empty()) progress.End();  // the question stands alone
      for (const TJobWarning& w : warnings)
        if (!declined) declined = !ui_.ProceedDespite(w);
      if (!declined) WriteDeclaration(outcome, lines, input, phases);
    }
  }
  if (outcome.Cancelled() || declined) {
    run.XmlFileName = previousXmlFileName;
    // Declined, the log still shows what the preparation found.
    if (declined)
      for (const QString& line : outcome.Prepared.Log) session_.Log.Write(LogSource::Run, line);
    session_.Log.Write(LogSource::Run, QStringLiteral("Az XML nyomtatvány készítése megszakítva"));
    return;
  }
  run.LastWrittenXml.clear();
  run.Return.reset();
  State.SummaryBtn.Enabled = false;
  run.Lines.clear();
  run.Warnings = warnings;
  run.PartnerList = outcome.Prepared.PartnerList;
  for (const QString& line : outcome.Prepared.Log) session_.Log.Write(LogSource::Run, line);
  if (!outcome.Written) {
    ui_.Error(outcome.Written.Message() + u'\n' + OutputFolderAdvice(run.XmlFileName));
    return;
  }
  run.LastWrittenXml = run.XmlFileName;
  run.Lines = std::move(lines);
  run.Return = std::move(outcome.Return);
  run.Return->Lines = &run.Lines;                   // the list it was built on has moved here
  run.WrittenAt = QDateTime::currentDateTimeUtc();  // local time is read when it is shown
  run.XmlBytes = QFileInfo(run.LastWrittenXml).size();
  State.SummaryBtn.Enabled = true;
  RememberXmlFolder(run.LastWrittenXml);
  RecordRunInProfile();
}

void TMainForm::SummaryBtnClick() {
  if (job_->Run.Return) ui_.ShowModal(SecondaryWindow::Summary);
}

// The save dialog starts where the last declaration was put, typed in or chosen.
void TMainForm::RememberXmlFolder(const QString& fileName) {
  if (!RememberRecentFiles) return;
  const QString folder = QDir::toNativeSeparators(QFileInfo(fileName).absolutePath());
  if (folder == recent_.XmlDir) return;
  recent_.XmlDir = folder;
  SaveRecent();
}

}  // namespace krinu
