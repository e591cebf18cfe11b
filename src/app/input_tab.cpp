// The first tab's chain: choosing the input file, its structure, and what follows.

#include "app/main_form.h"
#include "intake/code_page.h"

namespace krinu {

void TMainForm::SelectFileBtnClick() {
  const std::optional<QString> chosen = ui_.OpenFile(OpenDialog);
  if (!chosen) {
    LastSelectOutcome = TSelectOutcome::Cancelled;
    return;
  }
  LastSelectOutcome = TSelectOutcome::Refused;
  InputLoaded = false;
  ResetTartalomPanel();
  ResetBetoltesPanel();
  Panel_enabled(MainPanel::Tartalom, false);
  Panel_enabled(MainPanel::Betoltes, false);
  State.FileNameEd.Text = *chosen;
  Input.InputLineCount = -1;

  TFBytes sample;
  if (!ReadSampleExclusively(State.FileNameEd.Text, sample)) {
    ui_.Error(
        QStringLiteral("Nem sikerült kizárólagos hozzáférést kapni a kijelölt fájlhoz\n"
                       "Kérem ellenőrizze, nem tartja-e nyitva a fájlt valamely másik alkalmazás\n"
                       "Ha sikerült szabaddá tennie a fájlt, jelölje ki újra input fájlként"));
    return;
  }
  Input.InputCodePage = DetectCodePage(sample, Input.InputHasBOM);
  State.CodePageLb.Caption = CodePageName(Input.InputCodePage);
  if (!CodePageSupported(Input.InputCodePage)) {
    ui_.Error(
        QStringLiteral("Sajnos az input fájl kód-táblája nem támogatott\n"
                       "Kérem készítsen/kérjen új input fájlt.\n"
                       "Támogatott kód táblák: Windows alapértelmezett, UTF8, "
                       "UTF16(little endien)"));
    return;
  }
  Panel_enabled(MainPanel::Szerkezet, true);

  const QString what = QStringLiteral("Az input fájl sorainak számlálása…");
  qint32 lines = Input.InputLineCount;
  const bool analysed = AnalyzeInputDataStructure(
      State.FileNameEd.Text, Input.InputCodePage, State.CsvSeparatorEd.Text,
      State.HeaderCbx.Checked, lines,
      [&](qint64 done, qint64 total) { ui_.Progress(what, done, total); });
  ui_.Progress(what, -1, 0);
  Input.InputLineCount = lines;
  // An empty file gives the guess nothing to vote on; saying it is empty is the truth.
  if (!analysed && lines != 0) {
    LastSelectOutcome = TSelectOutcome::AnalysisFailed;
    ui_.Error(QStringLiteral("Nem sikerült feltérképezni az input fájl szerkezetét\n"
                             "Kérem állítsa be a fájl szerkezetének jellemzőit a \"") +
              State.SzerkezetPanelTitle.Caption + QStringLiteral("\" panelon\nmajd nyomja meg a ") +
              State.SzerkezetCheckBtn.Caption + QStringLiteral(" gombot"));
    return;
  }
  if (Input.InputLineCount == 0) {
    ui_.Error(QStringLiteral("Az input fájl üres, jelöljön ki egy másikat"));
    return;
  }
  if (Input.InputLineCount > kMaxInputLines) {
    ui_.Error(
        QStringLiteral("Az input fájl túl nagy\n"
                       "maximum 1 millió sort képes a program feldolgozni\n"
                       "kérem jelöljön ki egy másik fájlt"));
    return;
  }
  LastSelectOutcome = RunStructureCheck(QStringLiteral("a(z)")) ? TSelectOutcome::Passed
                                                                : TSelectOutcome::CheckFailed;
}

void TMainForm::SzerkezetCheckBtnClick() {
  InputLoaded = false;
  ResetTartalomPanel();
  ResetBetoltesPanel();
  Panel_enabled(MainPanel::Tartalom, false);
  Panel_enabled(MainPanel::Betoltes, false);
  RunStructureCheck(QStringLiteral("a"));
}

// The structure check shared by both buttons; only one word of its message differs.
bool TMainForm::RunStructureCheck(const QString& article) {
  Input.InputFileName = State.FileNameEd.Text;
  QString message;
  if (!CheckInputDataStructure(Input, State.CsvSeparatorEd.Text, State.HeaderCbx.Checked,
                               {State.InputDataSG, State.ColCountPrevEd, State.RowCountPrevEd},
                               message)) {
    ui_.Error(QStringLiteral("Probléma lépett fel az input fájl szerkezetét illetően:\n") +
              message + QStringLiteral("\nkérem igazítson a fájl szerkezetének jellemzőin ") +
              article + QStringLiteral(" \"") + State.SzerkezetPanelTitle.Caption +
              QStringLiteral("\" panelon\nvagy jelöljön ki egy másik fájlt"));
    return false;
  }
  Panel_enabled(MainPanel::Tartalom, true);
  return true;
}

}  // namespace krinu
