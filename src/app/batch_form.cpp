#include "app/batch_form.h"

#include <QDir>
#include <QFileInfo>

#include "app/import_profiles.h"
#include "app/settings.h"
#include "common/atomic_write.h"
#include "common/clock.h"
#include "masterdata/registers.h"

namespace krinu {

namespace {

CaptionControl Cap(const QString& text) {
  CaptionControl c;
  c.Caption = text;
  return c;
}

const QString kIso = QStringLiteral("yyyy-MM-dd");

// What the import profiles remember for files named like this one (the most recent run of
// any layout), if anything.
const TRememberedRun* RememberedRunOfFile(TSession& session, const QString& path) {
  if (!session.ImportProfiles.Available()) return nullptr;
  const TRememberedRun* found = nullptr;
  for (const TImportProfile& profile : session.ImportProfiles.Profiles().Profiles)
    if (const TRememberedRun* run = RememberedRunFor(profile, path))
      if (!found || run->Used > found->Used) found = run;
  return found;
}

// The taxpayer whose eight-digit base number the file's name holds: exports are often
// named after the taxpayer. Empty when none or more than one does.
QString TaxpayerOfFileName(const TSession& session, const QString& path) {
  const QString name = QFileInfo(path).fileName();
  QString found;
  for (int i = 0; i < session.AdozokList.Count(); ++i) {
    const QString& adoszam = session.AdozokList.Object(i)->Adoszam;
    if (adoszam.size() < 8 || !name.contains(adoszam.left(8))) continue;
    if (!found.isEmpty() && found != adoszam) return {};
    found = adoszam;
  }
  return found;
}

}  // namespace

BatchState::BatchState() {
  Caption = QStringLiteral("Kötegelt feldolgozás");
  JobsSG.Columns = {{QStringLiteral("Bemenet"), false, false},
                    {QStringLiteral("Adózó"), false, false},
                    {QStringLiteral("Időszak"), false, false},
                    {QStringLiteral("Kimenet"), false, false},
                    {QStringLiteral("Eredmény"), false, false}};
  HozzaadasBtn = Cap(QStringLiteral("Fájlok hozzáadása…"));
  TorlesBtn = Cap(QStringLiteral("Sor törlése"));
  MegnyitasBtn = Cap(QStringLiteral("Megnyitás…"));
  MentesBtn = Cap(QStringLiteral("Mentés…"));
  InditasBtn = Cap(QStringLiteral("Indítás"));
  BezarasBtn = Cap(QStringLiteral("Bezárás"));
  SorLb = Cap(QStringLiteral("A kijelölt sor:"));
  AdozoLb = Cap(QStringLiteral("Adózó:"));
  UgyintezoLb = Cap(QStringLiteral("Ügyintéző:"));
  IdoszakLb = Cap(QStringLiteral("Időszak:"));
  KimenetLb = Cap(QStringLiteral("Kimenet:"));
  NegyedevCbx.Caption = QStringLiteral("Negyedéves bevallás");
  OsszevonasCbx.Caption = QStringLiteral("Bizonylat összesítés");
  OsszevonasCbx.Checked = true;
  NullasCbx.Caption = QStringLiteral("'0'-s tételek kihagyása");
  XmlMappaBtn = Cap(QStringLiteral("XML mappája"));
  NaploBtn = Cap(QStringLiteral("Napló"));
  OsszesitoBtn = Cap(QStringLiteral("Összesítő"));
  StatusLb = Cap(QStringLiteral("Adjon hozzá bemeneti fájlokat a gombbal vagy húzza ide őket."));
}

NamedControls BatchState::Controls() {
  return {{QStringLiteral("JobsSG"), &JobsSG},
          {QStringLiteral("HozzaadasBtn"), &HozzaadasBtn},
          {QStringLiteral("TorlesBtn"), &TorlesBtn},
          {QStringLiteral("MegnyitasBtn"), &MegnyitasBtn},
          {QStringLiteral("MentesBtn"), &MentesBtn},
          {QStringLiteral("InditasBtn"), &InditasBtn},
          {QStringLiteral("BezarasBtn"), &BezarasBtn},
          {QStringLiteral("SorLb"), &SorLb},
          {QStringLiteral("EredmenyLb"), &EredmenyLb},
          {QStringLiteral("AdozoLb"), &AdozoLb},
          {QStringLiteral("UgyintezoLb"), &UgyintezoLb},
          {QStringLiteral("IdoszakLb"), &IdoszakLb},
          {QStringLiteral("KimenetLb"), &KimenetLb},
          {QStringLiteral("AdozoCb"), &AdozoCb},
          {QStringLiteral("UgyintezoCb"), &UgyintezoCb},
          {QStringLiteral("KezdeteDtPick"), &KezdeteDtPick},
          {QStringLiteral("VegeDtPick"), &VegeDtPick},
          {QStringLiteral("NegyedevCbx"), &NegyedevCbx},
          {QStringLiteral("OsszevonasCbx"), &OsszevonasCbx},
          {QStringLiteral("NullasCbx"), &NullasCbx},
          {QStringLiteral("KimenetEd"), &KimenetEd},
          {QStringLiteral("XmlMappaBtn"), &XmlMappaBtn},
          {QStringLiteral("NaploBtn"), &NaploBtn},
          {QStringLiteral("OsszesitoBtn"), &OsszesitoBtn},
          {QStringLiteral("StatusLb"), &StatusLb}};
}

TBatchForm::TBatchForm(UserInterface& ui, TSession& session, RowRunner runRow)
    : ui_(ui), session_(session), runRow_(std::move(runRow)) {
  State.AdozoCb.Items << QString();  // item 0: none chosen yet
  for (int i = 0; i < session_.AdozokList.Count(); ++i)
    State.AdozoCb.Items << AdozoItemText(*session_.AdozokList.Object(i));
  for (int i = 0; i < session_.UgyintezokList.Count(); ++i)
    State.UgyintezoCb.Items << session_.UgyintezokList.Key(i) + QStringLiteral(" / ") +
                                   session_.UgyintezokList.Object(i)->Nev;
  State.JobsSG.Cell = [this](qsizetype row, int column) { return Cell(row, column); };
  Refresh();
}

void TBatchForm::SetPeriod(TJobRow& job, bool quarter) {
  const auto [from, to] = quarter ? PreviousQuarter(Clock::Today()) : PreviousMonth(Clock::Today());
  job.Row[mcKezdete] = from.toString(kIso);
  job.Row[mcVege] = to.toString(kIso);
}

// Beside the input: the tax number and the period in the name; the log and the summary
// beside the XML under its name.
void TBatchForm::NameOutputs(TJobRow& job) {
  TBatchRow& row = job.Row;
  if (!job.AutoOutput) return;
  if (row[mcAdoszam].isEmpty()) {
    row[mcKimenet].clear();
    row[mcOsszesito].clear();
    return;
  }
  const QString base = QFileInfo(row[mcBemenet]).absolutePath() + u'/' + row[mcAdoszam] + u'_' +
                       QString(row[mcKezdete]).remove(u'-') + u'-' +
                       QString(row[mcVege]).remove(u'-');
  row[mcKimenet] = base + QStringLiteral(".xml");
  row[mcOsszesito] = base + QStringLiteral(".html");
}

void TBatchForm::AddFile(const QString& path) {
  TJobRow job;
  TBatchRow& row = job.Row;
  row[mcBemenet] = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  // Each file is read as the window reads it: with its layout's profile, when there is one.
  row[mcProfil] = QStringLiteral("auto");
  if (session_.UgyintezokList.Count() > 0) row[mcUgyintezo] = session_.UgyintezokList.Key(0);
  // What the profile remembers for such files comes first, the file's name after.
  const TRememberedRun* run = RememberedRunOfFile(session_, path);
  row[mcAdoszam] = run ? run->Adoszam : TaxpayerOfFileName(session_, path);
  if (run) {
    for (int i = 0; i < session_.UgyintezokList.Count(); ++i)
      if (session_.UgyintezokList.Object(i)->UserId == run->UgyintezoId)
        row[mcUgyintezo] = session_.UgyintezokList.Key(i);
    row[mcOsszevonas] = run->BizSum ? QString() : QStringLiteral("nem");
    row[mcNullasKihagyas] = run->DropZero ? QStringLiteral("igen") : QString();
  }
  SetPeriod(job, run && run->Quarter);
  NameOutputs(job);
  rows_.push_back(std::move(job));
}

void TBatchForm::HozzaadasBtnClick() {
  FileDialogSpec spec;
  spec.Title = QStringLiteral("Bemeneti fájlok");
  spec.Filter = QStringLiteral("CSV fájlok (*.csv)|*.csv|Minden fájl (*.*)|*.*");
  spec.FileName = session_.Env.DocumentsDir;
  FilesDropped(ui_.OpenFiles(spec));
}

void TBatchForm::FilesDropped(const QStringList& paths) {
  QStringList passedOver;
  for (const QString& path : paths) {
    if (QFileInfo(path).isFile())
      AddFile(path);
    else
      passedOver << QDir::toNativeSeparators(path);
  }
  if (!passedOver.isEmpty())
    ui_.Warning(QStringLiteral("Ezek nem fájlok, nem kerültek a táblába:\n") +
                passedOver.join(u'\n'));
  if (State.SelectedRow < 0 && !rows_.empty()) State.SelectedRow = 0;
  Refresh();
}

void TBatchForm::JobsSGSelect(qsizetype row) {
  State.SelectedRow = row >= 0 && row < RowCount() ? row : -1;
  Refresh();
}

void TBatchForm::RowChoiceChange() {
  if (State.SelectedRow < 0) return;
  TJobRow& job = rows_[size_t(State.SelectedRow)];
  TBatchRow& row = job.Row;
  const int taxpayer = State.AdozoCb.ItemIndex;
  row[mcAdoszam] = taxpayer > 0 && taxpayer <= session_.AdozokList.Count()
                       ? session_.AdozokList.Object(taxpayer - 1)->Adoszam
                       : QString();
  const int admin = State.UgyintezoCb.ItemIndex;
  row[mcUgyintezo] = admin >= 0 && admin < session_.UgyintezokList.Count()
                         ? session_.UgyintezokList.Key(admin)
                         : QString();
  row[mcKezdete] = State.KezdeteDtPick.Date.toString(kIso);
  row[mcVege] = State.VegeDtPick.Date.toString(kIso);
  row[mcOsszevonas] = State.OsszevonasCbx.Checked ? QString() : QStringLiteral("nem");
  row[mcNullasKihagyas] = State.NullasCbx.Checked ? QStringLiteral("igen") : QString();
  const QString output = State.KimenetEd.Text.trimmed();
  if (output != QDir::toNativeSeparators(row[mcKimenet])) {
    // A name of the user's own: it no longer follows the choices.
    job.AutoOutput = false;
    row[mcKimenet] =
        output.isEmpty() ? QString() : QDir::cleanPath(QDir::fromNativeSeparators(output));
  }
  NameOutputs(job);
  job.Result.reset();
  Refresh();
}

void TBatchForm::NegyedevCbxClick() {
  if (State.SelectedRow < 0) return;
  TJobRow& job = rows_[size_t(State.SelectedRow)];
  SetPeriod(job, State.NegyedevCbx.Checked);
  NameOutputs(job);
  job.Result.reset();
  Refresh();
}

void TBatchForm::TorlesBtnClick() {
  if (State.SelectedRow < 0) return;
  rows_.erase(rows_.begin() + State.SelectedRow);
  if (State.SelectedRow >= RowCount()) State.SelectedRow = RowCount() - 1;
  Refresh();
}

FileDialogSpec TBatchForm::ManifestDialog(const QString& title, bool mustExist) const {
  FileDialogSpec spec;
  spec.Title = title;
  spec.Filter = QStringLiteral("Kötegleírás (*.csv)|*.csv|Minden fájl (*.*)|*.*");
  spec.FileName = session_.Env.DocumentsDir;
  spec.MustExist = mustExist;
  return spec;
}

void TBatchForm::MegnyitasBtnClick() {
  const std::optional<QString> file =
      ui_.OpenFile(ManifestDialog(QStringLiteral("Kötegleírás megnyitása"), true));
  if (!file) return;
  TResult<std::vector<TBatchRow>> manifest = ReadManifest(*file);
  if (!manifest) {
    ui_.Error(manifest.Message());
    return;
  }
  rows_.clear();
  for (TBatchRow& row : manifest.Value()) rows_.push_back({std::move(row), false, std::nullopt});
  State.SelectedRow = rows_.empty() ? -1 : 0;
  Refresh();
}

void TBatchForm::MentesBtnClick() {
  std::optional<QString> file =
      ui_.SaveFile(ManifestDialog(QStringLiteral("Kötegleírás mentése"), false));
  if (!file) return;
  if (QFileInfo(*file).suffix().isEmpty()) *file += QStringLiteral(".csv");
  std::vector<TBatchRow> rows;
  for (const TJobRow& job : rows_) rows.push_back(job.Row);
  if (const std::optional<QString> failed =
          WriteFileAtomically(*file, ManifestBytes(rows, QFileInfo(*file).absolutePath())))
    ui_.ErrorWithReason(
        QStringLiteral("Nem sikerült kiírni a fájlt: ") + QDir::toNativeSeparators(*file), *failed);
}

void TBatchForm::InditasBtnClick() {
  if (rows_.empty()) {
    ui_.Information(QStringLiteral("Nincs feladat: adjon hozzá bemeneti fájlokat."));
    return;
  }
  QStringList incomplete;
  for (qsizetype i = 0; i < RowCount(); ++i)
    if (!Missing(i).isEmpty()) incomplete << QString::number(i + 1) + u'.';
  if (!incomplete.isEmpty()) {
    ui_.Error(QStringLiteral("A(z) %1 sorból hiányzik egy választás (lásd az Eredmény "
                             "oszlopot); kérem, pótolja, majd indítsa újra.")
                  .arg(incomplete.join(QStringLiteral(", "))));
    return;
  }
  std::vector<TBatchRow> rows;
  for (TJobRow& job : rows_) {
    job.Result.reset();
    rows.push_back(job.Row);
  }
  const qsizetype total = RowCount();
  const QString what = QStringLiteral("Kötegelt feldolgozás: %1 / %2 feladat kész");
  qsizetype ran = 0, failed = 0;
  bool stopped = ui_.CancellableProgress(what.arg(0).arg(total), 0, total);
  if (!stopped)
    RunBatchRows(rows, OutputClashes(rows), runRow_, [&](qsizetype i, const TBatchResult& r) {
      rows_[size_t(i)].Result = r;
      ++ran;
      if (!r.Ok) ++failed;
      // Asked between the jobs: "Mégse" stops after the one running.
      stopped = ran < total && ui_.CancellableProgress(what.arg(ran).arg(total), ran, total);
      return !stopped;
    });
  ui_.Progress(QString(), -1, 0);
  const QString counts = QStringLiteral("%1 kész, %2 hibás").arg(ran - failed).arg(failed);
  if (stopped)
    State.StatusLb.Caption =
        ran == 0 ? QStringLiteral("A feldolgozás megszakítva: egyetlen feladat sem futott le.")
                 : QStringLiteral(
                       "A feldolgozás megszakítva: az 1–%1. sor futott le (%2); a "
                       "további %3 sor nem indult el.")
                       .arg(ran)
                       .arg(counts)
                       .arg(total - ran);
  else
    State.StatusLb.Caption = QStringLiteral("%1 feladatból %2.").arg(total).arg(counts);
  Refresh();
  ui_.Information(State.StatusLb.Caption);
}

void TBatchForm::OpenResultFile(const QString& file) {
  if (file.isEmpty()) return;
  if (ui_.OpenDocument(file) != OpenDocumentResult::Opened)
    ui_.Error(QStringLiteral("Nem sikerült megnyitni: ") + QDir::toNativeSeparators(file));
}

void TBatchForm::JobsSGDblClick(qsizetype row, int column) {
  JobsSGSelect(row);
  if (column == EredmenyCol) XmlMappaBtnClick();
}

void TBatchForm::XmlMappaBtnClick() {
  if (State.SelectedRow < 0 || !Result(State.SelectedRow)) return;
  OpenResultFile(QFileInfo(Result(State.SelectedRow)->Xml).absolutePath());
}

void TBatchForm::NaploBtnClick() {
  if (State.SelectedRow >= 0 && Result(State.SelectedRow))
    OpenResultFile(Result(State.SelectedRow)->Log);
}

void TBatchForm::OsszesitoBtnClick() {
  if (State.SelectedRow >= 0 && Result(State.SelectedRow))
    OpenResultFile(Result(State.SelectedRow)->Summary);
}

QStringList TBatchForm::Missing(qsizetype i) const {
  const TBatchRow& row = Row(i);
  QStringList missing;
  if (!QFileInfo(row[mcBemenet]).isFile()) missing << QStringLiteral("bemeneti fájl");
  // A tax number of a manifest that the register does not know is no choice either.
  if (TaxpayerName(session_, row[mcAdoszam]).isEmpty()) missing << QStringLiteral("adózó");
  if (row[mcUgyintezo].isEmpty()) missing << QStringLiteral("ügyintéző");
  const QDate from = QDate::fromString(row[mcKezdete], kIso);
  const QDate to = QDate::fromString(row[mcVege], kIso);
  if (!from.isValid() || !to.isValid() || to < from) missing << QStringLiteral("időszak");
  if (row[mcKimenet].isEmpty())
    missing << QStringLiteral("kimenet");
  else if (size_t(i) < clashes_.size() && clashes_[size_t(i)])
    missing << QStringLiteral("másik kimenet (ez egy másik sor fájlja lenne)");
  return missing;
}

QString TBatchForm::Cell(qsizetype i, int column) const {
  const TBatchRow& row = Row(i);
  switch (column) {
    case BemenetCol:
      return QFileInfo(row[mcBemenet]).fileName();
    case AdozoCol: {
      const QString name = TaxpayerName(session_, row[mcAdoszam]);
      return name.isEmpty() ? row[mcAdoszam] : row[mcAdoszam] + QStringLiteral(" ") + name;
    }
    case IdoszakCol:
      return row[mcKezdete] + QStringLiteral(" – ") + row[mcVege];
    case KimenetCol:
      return QDir::toNativeSeparators(row[mcKimenet]);
    default: {
      const QStringList missing = Missing(i);
      if (!missing.isEmpty())
        return QStringLiteral("⚠ Hiányzik: ") + missing.join(QStringLiteral(", "));
      const std::optional<TBatchResult>& r = Result(i);
      if (!r) return QString();
      if (!r->Ok) return QStringLiteral("hiba: ") + r->Error.section(u'\n', 0, 0);
      QString text = QStringLiteral("kész, %1 partner").arg(r->Partners);
      if (!r->Warnings.isEmpty()) text += QStringLiteral(" — ⚠ ") + r->Warnings.join(u' ');
      return text;
    }
  }
}

void TBatchForm::ShowSelected() {
  BatchState& s = State;
  const bool selected = s.SelectedRow >= 0;
  for (Control* c : std::initializer_list<Control*>{&s.AdozoCb, &s.UgyintezoCb, &s.KezdeteDtPick,
                                                    &s.VegeDtPick, &s.NegyedevCbx, &s.OsszevonasCbx,
                                                    &s.NullasCbx, &s.KimenetEd, &s.TorlesBtn})
    c->Enabled = selected;
  const std::optional<TBatchResult> none;
  const std::optional<TBatchResult>& result = selected ? Result(s.SelectedRow) : none;
  // The whole story of the row's last run, which its cell shows the first line of.
  s.EredmenyLb.Caption.clear();
  if (result)
    s.EredmenyLb.Caption =
        result->Ok ? Cell(s.SelectedRow, EredmenyCol) : QStringLiteral("hiba: ") + result->Error;
  s.XmlMappaBtn.Enabled = result && !result->Xml.isEmpty();
  s.NaploBtn.Enabled = result && !result->Log.isEmpty();
  s.OsszesitoBtn.Enabled = result && !result->Summary.isEmpty();
  if (!selected) return;
  const TBatchRow& row = Row(s.SelectedRow);
  s.SorLb.Caption = QStringLiteral("A kijelölt sor (%1.): %2")
                        .arg(s.SelectedRow + 1)
                        .arg(QDir::toNativeSeparators(row[mcBemenet]));
  s.AdozoCb.ItemIndex = 0;
  for (int i = 0; i < session_.AdozokList.Count(); ++i)
    if (session_.AdozokList.Object(i)->Adoszam == row[mcAdoszam]) s.AdozoCb.ItemIndex = i + 1;
  s.UgyintezoCb.ItemIndex = -1;
  for (int i = 0; i < session_.UgyintezokList.Count(); ++i)
    if (session_.UgyintezokList.Key(i) == row[mcUgyintezo]) s.UgyintezoCb.ItemIndex = i;
  s.KezdeteDtPick.Date = QDate::fromString(row[mcKezdete], kIso);
  s.VegeDtPick.Date = QDate::fromString(row[mcVege], kIso);
  const QDate from = s.KezdeteDtPick.Date;
  s.NegyedevCbx.Checked = from.isValid() && s.VegeDtPick.Date == from.addMonths(3).addDays(-1);
  s.OsszevonasCbx.Checked = ReadYesNo(row[mcOsszevonas]) != TYesNo::No;
  s.NullasCbx.Checked = ReadYesNo(row[mcNullasKihagyas]) == TYesNo::Yes;
  s.KimenetEd.Text = QDir::toNativeSeparators(row[mcKimenet]);
}

void TBatchForm::Refresh() {
  std::vector<TBatchRow> rows;
  for (const TJobRow& job : rows_) rows.push_back(job.Row);
  clashes_ = OutputClashes(rows);
  State.JobsSG.RowCount = RowCount();
  ++State.JobsSG.Revision;
  State.InditasBtn.Enabled = !rows_.empty();
  State.MentesBtn.Enabled = !rows_.empty();
  if (State.SelectedRow < 0) State.SorLb.Caption = QStringLiteral("A kijelölt sor:");
  ShowSelected();
}

}  // namespace krinu
