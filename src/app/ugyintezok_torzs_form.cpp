#include "app/ugyintezok_torzs_form.h"

#include "app/register_lists.h"
#include "masterdata/master_database.h"

namespace krinu {

namespace {

const QString kSelectFirst =
    QStringLiteral("Kérem válasszaki ki a lent lévő listából az Ügyintézőt először!");

bool AllAsciiDigits(const QString& s) {
  if (s.isEmpty()) return false;
  for (QChar c : s)
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
  return true;
}

// "... where UserId = " + the ID text. Digits go in as they stand ("0007" reads as 7);
// anything else is bound as a value, so it can only fail to match, never widen the
// statement.
QString WhereUserId(const QString& prefix, const QString& idText, SqlParams& params) {
  if (AllAsciiDigits(idText)) return prefix + idText;
  params = {idText};
  return prefix + QStringLiteral("?1");
}

}  // namespace

TUgyintezokTorzsForm::TUgyintezokTorzsForm(TSQLiteDatabase& db, UserInterface& ui)
    : TTorzsForm(db, ui, &UgyintezokTorzsState::UgyintezokLbx, LoadUgyintezok, UgyintezoItemText,
                 QStringLiteral("NevEd")) {}

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

void TUgyintezokTorzsForm::EdToUgyintezoAdat(TUgyintezoAdat& rec) const {
  rec.Nev = State.NevEd.Text;
  rec.Telefon = State.TelefonEd.Text;
  bool ok = false;
  const qint64 id = State.AzonositoEd.Text.toLongLong(&ok);
  if (ok) rec.UserId = qint32(quint32(quint64(id)));  // low 32 bits
}

void TUgyintezokTorzsForm::UjBTnClick() {
  if (State.NevEd.Text.isEmpty()) {
    ui_.Information(QStringLiteral("Kérem töltse ki a bal oldalon lévő adatmezőket először!"));
    return;
  }
  TUgyintezoAdat rec;
  EdToUgyintezoAdat(rec);
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
  TUgyintezoAdat rec;
  EdToUgyintezoAdat(rec);
  if (FormatOk(CheckUgyintezoAdat(rec))) ReportChange(UpdateUgyintezo(db_, rec));
}

void TUgyintezokTorzsForm::TorlesBtnClick() {
  if (State.AzonositoEd.Text.isEmpty()) {
    ui_.Information(kSelectFirst);
    return;
  }
  const QString t = State.AzonositoEd.Text.trimmed();
  SqlParams countParams;
  const QString countSql =
      WhereUserId(QStringLiteral("Select count(*) from Ugyintezok where UserId = "),
                  State.AzonositoEd.Text, countParams);
  if (QueryCount(db_, countSql, countParams) == 0) {
    ui_.Information(QStringLiteral("Ilyen azonosítóval nem léltezik Ügyintéző"));
    return;
  }
  if (!ui_.Confirm(QStringLiteral("Biztosan törölni akarja a ") + t +
                   QStringLiteral(" azonosítóval beazonosított Ügyintézőt?")))
    return;
  SqlParams params;
  const QString sql =
      WhereUserId(QStringLiteral("Delete from Ugyintezok where UserId = "), t, params);
  if (DeleteWithMessages(db_, ui_, sql, params,
                         QStringLiteral("Nem található a törölni szándékozott Ügyintéző")))
    Committed();
}

}  // namespace krinu
