#include "app/ugyintezok_torzs_form.h"

#include "app/register_lists.h"
#include "masterdata/master_database.h"
#include "masterdata/registers.h"

namespace krinu {

namespace {

const QString kSelectFirst =
    QStringLiteral("Kérem válasszaki ki a lent lévő listából az Ügyintézőt először!");

}  // namespace

TUgyintezokTorzsForm::TUgyintezokTorzsForm(TSession& session, UserInterface& ui)
    : TTorzsForm(session, ui, &UgyintezokTorzsState::UgyintezokLbx, LoadUgyintezok,
                 UgyintezoItemText, QStringLiteral("NevEd")) {}

void TUgyintezokTorzsForm::ClearEdits() {
  State.NevEd.Text.clear();
  State.TelefonEd.Text.clear();
  State.AzonositoEd.Text.clear();
}

void TUgyintezokTorzsForm::RecordToEdits(const TUgyintezoAdat& r) {
  State.NevEd.Text = r.Nev;
  State.TelefonEd.Text = r.Telefon;
  State.AzonositoEd.Text = UgyintezoIdText(r.UserId);
}

TUgyintezoAdat TUgyintezokTorzsForm::EdToUgyintezoAdat() const {
  TUgyintezoAdat rec;
  rec.Nev = State.NevEd.Text;
  rec.Telefon = State.TelefonEd.Text;
  bool ok = false;
  const qint64 id = State.AzonositoEd.Text.toLongLong(&ok);
  if (ok) rec.UserId = qint32(quint32(quint64(id)));  // low 32 bits
  return rec;
}

void TUgyintezokTorzsForm::UjBTnClick() {
  if (State.NevEd.Text.isEmpty()) {
    ui_.Information(QStringLiteral("Kérem töltse ki a bal oldalon lévő adatmezőket először!"));
    return;
  }
  const TUgyintezoAdat rec = EdToUgyintezoAdat();
  if (!FormatOk(CheckUgyintezoAdat(rec))) return;
  // The insert never uses the loaded ID: adding after loading makes a new administrator.
  ReportWrite(InsertUgyintezo(db_, rec),
              QStringLiteral("Új Ügyintéző felvétele meghiúsult, hibaüzenet: "),
              QStringLiteral("Új Ügyintéző felvétele megtörtént"));
}

void TUgyintezokTorzsForm::ModositBtnClick() {
  if (State.AzonositoEd.Text.isEmpty()) {
    ui_.Information(kSelectFirst);
    return;
  }
  const TUgyintezoAdat rec = EdToUgyintezoAdat();
  if (FormatOk(CheckUgyintezoAdat(rec))) ReportChange(UpdateUgyintezo(db_, rec));
}

void TUgyintezokTorzsForm::TorlesBtnClick() {
  if (State.AzonositoEd.Text.isEmpty()) {
    ui_.Information(kSelectFirst);
    return;
  }
  const QString t = State.AzonositoEd.Text.trimmed();
  if (const TResult<qint32> c = CountUgyintezo(db_, State.AzonositoEd.Text); c && c.Value() == 0) {
    ui_.Information(QStringLiteral("Ilyen azonosítóval nem léltezik Ügyintéző"));
    return;
  }
  if (!ui_.Confirm(QStringLiteral("Biztosan törölni akarja a ") + t +
                   QStringLiteral(" azonosítóval beazonosított Ügyintézőt?")))
    return;
  const TResult<TWriteOutcome> deleted = DeleteUgyintezo(db_, t);
  if (Succeeded(deleted) &&
      ReportDelete(ui_, deleted.Value(),
                   QStringLiteral("Nem található a törölni szándékozott Ügyintéző")))
    Committed();
}

}  // namespace krinu
