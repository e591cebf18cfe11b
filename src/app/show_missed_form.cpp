#include "app/show_missed_form.h"

#include <QFileInfo>

#include "content/skipped_report.h"

namespace krinu {

ShowMissedState::ShowMissedState() {
  Caption = QStringLiteral("Kihagyott adatsorok áttkintése");
  MentesBtn.Caption = QStringLiteral("Mentés...");
  ShowMissedOkBtn.Caption = QStringLiteral("OK");
}

void TShowMissedForm::FormShow() {
  State.Closed = false;
  State.ShowMissedMemo.Lines = session_.MissedRows;
}

void TShowMissedForm::MentesBtnClick() {
  FileDialogSpec spec;
  spec.Title = QStringLiteral("Kihagyott adatsorok mentése");
  spec.Filter = QStringLiteral("CSV files (*.csv)|*.csv|All Files (*.*)|*.*");
  spec.FileName = QStringLiteral("kihagyott_adatsorok.csv");
  spec.MustExist = false;
  const std::optional<QString> chosen = ui_.SaveFile(spec);
  if (!chosen || chosen->isEmpty()) return;
  QString file = *chosen;
  if (!QFileInfo(file).fileName().contains(QLatin1Char('.'))) file += QStringLiteral(".csv");
  if (const std::optional<QString> error = WriteSkippedReport(file, session_.SkippedRecords)) {
    ui_.Error(*error);
    return;
  }
  ui_.Information(QStringLiteral("A kihagyott adatsorok jegyzéke elkészült:\n") + file);
}

}  // namespace krinu
