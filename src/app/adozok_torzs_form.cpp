#include "app/adozok_torzs_form.h"

#include "app/register_lists.h"
#include "common/tax_number.h"
#include "masterdata/master_database.h"
#include "masterdata/registers.h"

namespace krinu {

namespace {
const QString kSelectFirst =
    QStringLiteral("Kérem válasszaki ki a lent lévő listából az Adózót először!");

// A number that passes the format but not the arithmetic is most likely mistyped; it is
// stored all the same (the format is the rule), with a word of what looks wrong.
void WarnOfTaxNumber(UserInterface& ui, const QString& adoszam) {
  const TTaxNumberFaults faults = TaxNumberFaults(adoszam);
  if (!faults.Any()) return;
  QStringList what;
  if (faults.CheckDigit) what << QStringLiteral("az ellenőrző számjegy (a 8.) nem egyezik");
  if (faults.VatCode) what << QStringLiteral("az áfakód (a 9. számjegy) nem 1–5");
  if (faults.County) what << QStringLiteral("a megyekód (az utolsó két számjegy) nem létező");
  ui.Warning(QStringLiteral("Az adószám (") + adoszam + QStringLiteral(") hibásnak tűnik: ") +
             what.join(QStringLiteral(", ")) +
             QStringLiteral(".\nKérem, ellenőrizze; az adatok ettől még tárolásra kerülnek."));
}
}  // namespace

QString AdoszamEdInput(const QString& text) {
  QString digits = text;
  digits.remove(u'-').remove(u' ');
  return digits.left(kAdoszamMaxLength);
}

TAdozokTorzsForm::TAdozokTorzsForm(TSession& session, UserInterface& ui)
    : TTorzsForm(session, ui, &AdozokTorzsState::AdozokLbx, LoadAdozok, AdozoItemText,
                 QStringLiteral("AdoszamEd")) {}

void TAdozokTorzsForm::ClearEdits() {
  State.AdoszamEd.Text.clear();
  State.NevEd.Text.clear();
  State.BankEd.Text.clear();
  State.SzamlaEd.Text.clear();
}

void TAdozokTorzsForm::RecordToEdits(const TAdozoAdat& r) {
  State.AdoszamEd.Text = r.Adoszam;
  State.NevEd.Text = r.Nev;
  State.BankEd.Text = r.Bank;
  State.SzamlaEd.Text = r.Szamlaszam1 + r.Szamlaszam2;
}

TAdozoAdat TAdozokTorzsForm::EdToAdozoAdat() const {
  TAdozoAdat rec;
  rec.Adoszam = State.AdoszamEd.Text;
  rec.Nev = State.NevEd.Text;
  rec.Bank = State.BankEd.Text;
  const QString a = State.SzamlaEd.Text.trimmed();
  rec.Szamlaszam1 = a.left(8);
  rec.Szamlaszam2 = a.mid(8);
  return rec;
}

void TAdozokTorzsForm::UjBTnClick() {
  if (State.AdoszamEd.Text.isEmpty()) {
    ui_.Information(QStringLiteral("Kérem töltse ki a bal oldalon lévő adatmezőket először!"));
    return;
  }
  const TAdozoAdat rec = EdToAdozoAdat();
  if (!FormatOk(CheckAdozoAdat(rec))) return;
  const TResult<qint32> c = CountAdozo(db_, rec.Adoszam);
  if (c && c.Value() == 0) WarnOfTaxNumber(ui_, rec.Adoszam);
  if (c && c.Value() == 1) {
    ui_.Error(QStringLiteral("Új adózó felvétele meghiúsult, már létezik az adott Adószám!"));
  } else if (c && c.Value() == 0) {
    ReportWrite(InsertAdozo(db_, rec),
                QStringLiteral("Új adózó felvétele meghiúsult, hibaüzenet: "),
                QStringLiteral("Új adózó felvétele megtörtént"));
  } else {
    ui_.Error(QStringLiteral(
        "Új adózó felvétele meghiúsult, nem sikerült ellenőrizni a már létező Adószámokat!"));
  }
}

void TAdozokTorzsForm::ModositBtnClick() {
  // The tax number in the edit decides which taxpayer changes; no selection is needed.
  if (State.AdoszamEd.Text.isEmpty()) {
    ui_.Information(kSelectFirst);
    return;
  }
  const TAdozoAdat rec = EdToAdozoAdat();
  if (!FormatOk(CheckAdozoAdat(rec))) return;
  WarnOfTaxNumber(ui_, rec.Adoszam);
  ReportChange(UpdateAdozo(db_, rec));
}

void TAdozokTorzsForm::TorlesBtnClick() {
  if (State.AdoszamEd.Text.isEmpty()) {
    ui_.Information(kSelectFirst);
    return;
  }
  const QString t = State.AdoszamEd.Text.trimmed();
  // A failed count still goes on to the question: the delete itself will tell.
  if (const TResult<qint32> c = CountAdozo(db_, t); c && c.Value() == 0) {
    ui_.Information(QStringLiteral("Ilyen adószámmal nem léltezik Adózó"));
    return;
  }
  if (!ui_.Confirm(QStringLiteral("Biztosan törölni akarja a ") + t +
                   QStringLiteral(" adószámmal beazonosított Adózót?")))
    return;
  const TResult<TWriteOutcome> deleted = DeleteAdozo(db_, t);
  if (Succeeded(deleted) &&
      ReportDelete(ui_, deleted.Value(),
                   QStringLiteral("Nem található a törölni szándékozott Adózó")))
    Committed();
}

}  // namespace krinu
