#include "app/profiles_form.h"

#include "app/main_form_state.h"
#include "app/register_lists.h"

namespace krinu {
namespace {

QString DayText(const QDateTime& t) {
  return t.isValid() ? t.toLocalTime().date().toString(QStringLiteral("yyyy. MM. dd."))
                     : QStringLiteral("-");
}

QString TaxpayerText(const QString& adoszam, const TSession& session) {
  for (int i = 0; i < session.AdozokList.Count(); ++i)
    if (session.AdozokList.Object(i)->Adoszam == adoszam)
      return AdozoItemText(*session.AdozokList.Object(i));
  return adoszam;
}

}  // namespace

TProfileRow ProfileRowOf(const TImportProfile& p, const TSession& session) {
  return {p.Name, LayoutSummary(p.Layout), DayText(p.LastUsed),
          p.Runs.empty() ? QString() : TaxpayerText(p.Runs.front().Adoszam, session)};
}

QStringList ProfileDetails(const TImportProfile& p, const TSession& session) {
  QStringList lines{QStringLiteral("Név: ") + p.Name,
                    QStringLiteral("Fájlformátum: ") + LayoutSummary(p.Layout)};
  if (!p.Layout.HeaderTexts.isEmpty())
    lines << QStringLiteral("Fejrovat szövegei: ") +
                 p.Layout.HeaderTexts.join(QStringLiteral(" | "));
  lines << QStringLiteral("Mentve: ") + DayText(p.Saved)
        << QStringLiteral("Utoljára használva: ") + DayText(p.LastUsed)
        << QStringLiteral("Javítások:");
  const TInputCorrections& c = p.Corrections;
  if (c.Empty()) lines << QStringLiteral("  nincs");
  if (c.Separator) lines << QStringLiteral("  Mező elválasztó: ") + *c.Separator;
  if (c.Header)
    lines << QStringLiteral("  Fejrovat: ") +
                 (*c.Header ? QStringLiteral("igen") : QStringLiteral("nem"));
  MainFormState s;
  const CaptionControl* labels[6] = {&s.AdoszamColLb, &s.MegnevezesColLb, &s.DatumColLb,
                                     &s.BizSzamColLb, &s.AFAAlapColLb,    &s.AFAColLb};
  for (size_t i = 0; i < c.Columns.size(); ++i)
    if (c.Columns[i])
      lines << QStringLiteral("  ") + labels[i]->Caption + QStringLiteral(": ") +
                   QString::number(*c.Columns[i]);
  if (c.DateFormat) lines << QStringLiteral("  Dátum formátum: ") + *c.DateFormat;
  if (c.DecSep)
    lines << QStringLiteral("  Tizedes jegy: ") +
                 (*c.DecSep == 0 ? QStringLiteral("Vessző") : QStringLiteral("Pont"));
  for (const TRememberedRun& r : p.Runs)
    lines << QStringLiteral(
                 "Utolsó bevallás (%1, %2): adózó %3, ügyintéző %4, %5, %6%7, "
                 "nyomtatvány verzió %8")
                 .arg(r.Pattern, DayText(r.Used), TaxpayerText(r.Adoszam, session))
                 .arg(r.UgyintezoId)
                 .arg(r.Quarter ? QStringLiteral("negyedéves") : QStringLiteral("havi"),
                      r.BizSum ? QStringLiteral("bizonylat összesítés")
                               : QStringLiteral("nincs bizonylat összesítés"),
                      r.DropZero ? QStringLiteral(", '0'-s tételek kihagyása") : QString(),
                      r.NyomtVer);
  return lines;
}

ProfilesState::ProfilesState() {
  Caption = QStringLiteral("Mentett beállítások");
  ProfilesSG.Columns = {{QStringLiteral("Név")},
                        {QStringLiteral("Fájlformátum")},
                        {QStringLiteral("Utoljára használva")},
                        {QStringLiteral("Adózó")}};
  NevLb.Caption = QStringLiteral("Új név:");
  AtnevezesBtn.Caption = QStringLiteral("Átnevezés");
  TorlesBtn.Caption = QStringLiteral("Törlés");
  BezarasBtn.Caption = QStringLiteral("Bezárás");
}

TProfilesForm::TProfilesForm(UserInterface& ui, TSession& session) : ui_(ui), session_(session) {
  State.ProfilesSG.Cell = [this](qsizetype row, int column) -> QString {
    if (row < 0 || row >= qsizetype(rows_.size())) return {};
    const TProfileRow& r = rows_[size_t(row)];
    switch (column) {
      case 0:
        return r.Name;
      case 1:
        return r.Layout;
      case 2:
        return r.LastUsed;
      default:
        return r.Taxpayer;
    }
  };
}

void TProfilesForm::FormShow() {
  session_.ImportProfiles.Refresh();
  Refresh();
  if (const std::optional<QString> notice = session_.ImportProfiles.TakeNotice())
    ui_.Warning(*notice);
}

void TProfilesForm::Refresh() {
  rows_.clear();
  for (const TImportProfile& p : session_.ImportProfiles.Profiles().Profiles)
    rows_.push_back(ProfileRowOf(p, session_));
  State.ProfilesSG.RowCount = qsizetype(rows_.size());
  ++State.ProfilesSG.Revision;
  ProfilesSGSelect(std::min(State.Selected, int(rows_.size()) - 1));
}

void TProfilesForm::ProfilesSGSelect(int row) {
  State.Selected = row >= 0 && row < int(rows_.size()) ? row : -1;
  State.NevEd.Text = State.Selected >= 0 ? rows_[size_t(State.Selected)].Name : QString();
  for (Control* c :
       std::initializer_list<Control*>{&State.NevEd, &State.AtnevezesBtn, &State.TorlesBtn})
    c->Enabled = State.Selected >= 0;
}

bool TProfilesForm::Save(const TImportProfiles& before) {
  const std::optional<QString> failed = session_.ImportProfiles.Save();
  if (!failed) return true;
  session_.ImportProfiles.Profiles() = before;
  ui_.Error(QStringLiteral("A mentett beállítások nem írhatók ki: ") + *failed);
  return false;
}

void TProfilesForm::AtnevezesBtnClick() {
  if (State.Selected < 0) return;
  TImportProfiles& store = session_.ImportProfiles.Profiles();
  const TImportProfiles before = store;
  const QString name = rows_[size_t(State.Selected)].Name;
  if (const std::optional<QString> refused = store.Rename(name, State.NevEd.Text)) {
    ui_.Error(*refused);
    return;
  }
  Save(before);
  Refresh();
}

void TProfilesForm::TorlesBtnClick() {
  if (State.Selected < 0) return;
  const QString name = rows_[size_t(State.Selected)].Name;
  if (!ui_.Confirm(QStringLiteral("Törli a(z) „%1” mentett beállítást?").arg(name))) return;
  TImportProfiles& store = session_.ImportProfiles.Profiles();
  const TImportProfiles before = store;
  store.Remove(name);
  Save(before);
  Refresh();
}

}  // namespace krinu
