// The import profile of the input file's layout: applied after the detection, saved after a
// load that succeeded, and the second tab as it was last used with the layout.

#include <QFileInfo>
#include <QRegularExpression>

#include "app/main_form.h"
#include "app/settings.h"
#include "common/clock.h"

namespace krinu {
namespace {

// A new profile is named after the file with its dates and numbers left out.
QString DefaultProfileName(const QString& fileName) {
  static const QRegularExpression digits(QStringLiteral("[0-9]+"));
  static const QRegularExpression ends(QStringLiteral("^[\\s._-]+|[\\s._-]+$"));
  static const QRegularExpression runs(QStringLiteral("([\\s._-])[\\s._-]+"));
  QString name = QFileInfo(fileName).completeBaseName();
  name.remove(digits).replace(runs, QStringLiteral("\\1")).remove(ends);
  name = name.left(80);
  if (name.isEmpty() || ProfileNameProblem(name)) name = QStringLiteral("Beállítás");
  return name;
}

QString DayText(const QDateTime& t) {
  return t.toLocalTime().date().toString(QStringLiteral("yyyy. MM. dd."));
}

}  // namespace

void TMainForm::ProfileNote(const QString& text) {
  State.ProfileNoteLb.Caption = text;
  State.ProfileUndoBtn.Enabled = false;
  if (!text.isEmpty()) job_->Profile.Notes << text;
}

TInputChoices TMainForm::ShownChoices() {
  TInputChoices c;
  c.Separator = State.CsvSeparatorEd.Text;
  c.Header = State.HeaderCbx.Checked;
  c.Columns = SelectedColumns().Item;
  c.DateFormat = State.DateFormEd.Text;
  c.DecSep = State.DecSepCbx.ItemIndex;
  return c;
}

std::optional<TInputCorrections> TMainForm::ProfileForFile() {
  pendingContent_.reset();
  TJob::TProfileTrace& trace = job_->Profile;
  const bool inUse = ProfileUse != TProfileUse::None || SaveCorrections || TraceLayout;
  const qint32 lines = job_->Input.InputLineCount;
  if (!inUse || !session_.ImportProfiles.Available() || lines <= 0 || lines > kMaxInputLines)
    return std::nullopt;
  // The layout as the detection left the panel, read before anything corrects it.
  ReadInputControls();
  trace.Layout = LayoutOf(job_->Input.InputCodePage, State.CsvSeparatorEd.Text,
                          State.HeaderCbx.Checked, CheckInputDataStructure(job_->Input));
  trace.Detected.Separator = State.CsvSeparatorEd.Text;
  trace.Detected.Header = State.HeaderCbx.Checked;
  session_.ImportProfiles.Refresh();
  TImportProfiles& store = session_.ImportProfiles.Profiles();
  if (const std::optional<QString> notice = session_.ImportProfiles.TakeNotice()) {
    session_.Log.Write(LogSource::Startup, *notice);
    ProfileNote(*notice);
  }
  if (skipProfileOnce_ || ProfileUse == TProfileUse::None) return std::nullopt;
  const TImportProfile* profile = nullptr;
  if (ProfileUse == TProfileUse::Named) {
    profile = store.Find(ProfileName);
    if (!profile) {
      trace.Refusal = QStringLiteral("Nincs ilyen nevű mentett beállítás: ") + ProfileName;
      return std::nullopt;
    }
    if (!(profile->Layout == *trace.Layout)) {
      trace.Refusal =
          QStringLiteral(
              "A(z) „%1” mentett beállítás nem ehhez a fájlformátumhoz készült, ezért nem "
              "alkalmazható.\nA beállítás fájlformátuma: %2\nA fájl formátuma: %3")
              .arg(profile->Name, LayoutSummary(profile->Layout), LayoutSummary(*trace.Layout));
      if (profile->Layout.HeaderTexts != trace.Layout->HeaderTexts &&
          profile->Layout.FieldCount == trace.Layout->FieldCount)
        trace.Refusal += QStringLiteral(" (a fejrovat szövegei eltérnek)");
      return std::nullopt;
    }
  } else {
    profile = store.Match(*trace.Layout);
  }
  if (!profile) return std::nullopt;
  trace.Applied = profile->Name;
  pendingContent_ = profile->Corrections;
  if (!profile->Corrections.Empty()) {
    ProfileNote(QStringLiteral("Mentett beállítás alkalmazva: %1 (%2)")
                    .arg(profile->Name, DayText(profile->Saved)));
    State.ProfileUndoBtn.Enabled = true;
  }
  return profile->Corrections;
}

void TMainForm::ApplyProfileStructure(const TInputCorrections& corrections) {
  TInputChoices choices = ShownChoices();
  ApplyStructureCorrections(corrections, choices);
  State.CsvSeparatorEd.Text = choices.Separator;
  State.HeaderCbx.Checked = choices.Header;
}

// After the automatic column assignment: what it chose is the detection's, and the
// profile's content corrections (those of the file just chosen) go over it.
void TMainForm::ApplyProfileContent() {
  TJob::TProfileTrace& trace = job_->Profile;
  if (!trace.Layout) return;
  const TInputChoices detected = ShownChoices();
  trace.Detected.Columns = detected.Columns;
  trace.Detected.DateFormat = detected.DateFormat;
  trace.Detected.DecSep = detected.DecSep;
  if (!pendingContent_) return;
  TInputChoices choices = detected;
  ApplyContentCorrections(*pendingContent_, choices);
  pendingContent_.reset();
  const std::vector<ComboControl*> combos = State.ColumnCombos();
  for (size_t i = 0; i < combos.size(); ++i)
    if (choices.Columns[i] >= 0 && choices.Columns[i] < combos[i]->Items.size())
      combos[i]->ItemIndex = choices.Columns[i];
  State.DateFormEd.Text = choices.DateFormat;
  if (choices.DecSep >= -1 && choices.DecSep < State.DecSepCbx.Items.size())
    State.DecSepCbx.ItemIndex = choices.DecSep;
}

void TMainForm::SaveProfiles() {
  const std::optional<QString> failed = session_.ImportProfiles.Save();
  if (!failed) return;
  const QString text = QStringLiteral("A mentett beállítások nem írhatók ki (%1): %2")
                           .arg(ImportProfilesName(session_.DataDir), *failed);
  session_.Log.Write(LogSource::Startup, text);
  job_->Profile.SaveFailure = text;
  ProfileNote(text);
}

std::optional<QString> TMainForm::StoreCorrections(const QString& name,
                                                   const TInputCorrections& corrections) {
  TJob::TProfileTrace& trace = job_->Profile;
  const std::optional<QString> refused = session_.ImportProfiles.Profiles().Put(
      name, *trace.Layout, corrections, QDateTime::currentDateTimeUtc());
  if (refused) {
    trace.SaveFailure = *refused;
    ProfileNote(*refused);
    return refused;
  }
  trace.Recorded = name;
  SaveProfiles();
  if (!trace.SaveFailure.isEmpty()) return trace.SaveFailure;
  ProfileNote(QStringLiteral("Beállítások megjegyezve ehhez a fájlformátumhoz"));
  return std::nullopt;
}

std::optional<QString> TMainForm::SaveProfileAs(const QString& name) {
  if (!InputLoaded() || !job_->Profile.Layout)
    return QStringLiteral("A beállítások csak sikeres betöltés után menthetők");
  if (const std::optional<QString> problem = ProfileNameProblem(name)) return problem;
  return StoreCorrections(name, CorrectionsBetween(job_->Profile.Detected, ShownChoices()));
}

void TMainForm::RecordProfileAfterLoad() {
  TJob::TProfileTrace& trace = job_->Profile;
  if (!trace.Layout) return;
  const TInputCorrections corrections = CorrectionsBetween(trace.Detected, ShownChoices());
  TImportProfiles& store = session_.ImportProfiles.Profiles();
  const TImportProfile* same = store.Match(*trace.Layout);
  if (SaveCorrections && !corrections.Empty() && !(same && same->Corrections == corrections)) {
    if (StoreCorrections(
            same ? same->Name : store.UniqueName(DefaultProfileName(job_->Input.InputFileName)),
            corrections))
      return;
  } else if (TImportProfile* used = store.Find(trace.Applied)) {
    trace.Recorded = used->Name;
    used->LastUsed = QDateTime::currentDateTimeUtc();
    SaveProfiles();
  }
  PreselectRememberedRun();
}

const TRememberedRun* TMainForm::RememberedRunOfJob() {
  if (!session_.ImportProfiles.Available() || job_->Profile.Recorded.isEmpty()) return nullptr;
  const TImportProfile* profile = session_.ImportProfiles.Profiles().Find(job_->Profile.Recorded);
  return profile ? RememberedRunFor(*profile, job_->Input.InputFileName) : nullptr;
}

void TMainForm::PreselectRememberedRun() {
  const TRememberedRun* run = PreselectFromProfile ? RememberedRunOfJob() : nullptr;
  if (!run) return;
  QStringList what;
  for (int i = 0; i < session_.AdozokList.Count(); ++i)
    if (session_.AdozokList.Object(i)->Adoszam == run->Adoszam) {
      State.AdozokCb.ItemIndex = i;
      what << QStringLiteral("adózó");
      break;
    }
  for (int i = 0; i < session_.UgyintezokList.Count(); ++i)
    if (session_.UgyintezokList.Object(i)->UserId == run->UgyintezoId) {
      State.UgyintezokCb.ItemIndex = i;
      what << QStringLiteral("ügyintéző");
      break;
    }
  State.BizSumCbx.Checked = run->BizSum;
  State.DropZeroItemsCbx.Checked = run->DropZero;
  State.OverWriteXmlFileCbx.Checked = run->OverWrite;
  if (!run->NyomtVer.isEmpty()) State.NyomtVerEd.Text = run->NyomtVer;
  what << QStringLiteral("beállítások");
  const auto [from, to] =
      run->Quarter ? PreviousQuarter(Clock::Today()) : PreviousMonth(Clock::Today());
  State.IdoszakADtPick.Date = from;
  State.IdoszakBDtPick.Date = to;
  what << (run->Quarter ? QStringLiteral("időszak: az előző negyedév")
                        : QStringLiteral("időszak: az előző hónap"));
  State.ProfileRunLb.Caption =
      QStringLiteral("A(z) „%1” mentett beállítás szerint előválasztva: %2")
          .arg(job_->Profile.Recorded, what.join(QStringLiteral(", ")));
}

void TMainForm::RecordRunInProfile() {
  TImportProfile* profile = session_.ImportProfiles.Available() && job_->Profile.Layout
                                ? session_.ImportProfiles.Profiles().Find(job_->Profile.Recorded)
                                : nullptr;
  if (!profile) return;
  TRememberedRun run;
  run.Pattern = FileNamePattern(job_->Input.InputFileName);
  run.Adoszam = session_.AdozokList.Object(State.AdozokCb.ItemIndex)->Adoszam;
  run.UgyintezoId = session_.UgyintezokList.Object(State.UgyintezokCb.ItemIndex)->UserId;
  run.BizSum = State.BizSumCbx.Checked;
  run.DropZero = State.DropZeroItemsCbx.Checked;
  run.OverWrite = State.OverWriteXmlFileCbx.Checked;
  run.NyomtVer = State.NyomtVerEd.Text;
  run.Quarter = IsCalendarQuarter(State.IdoszakADtPick.Date, State.IdoszakBDtPick.Date);
  run.Used = QDateTime::currentDateTimeUtc();
  profile->LastUsed = run.Used;
  RememberRun(*profile, std::move(run));
  SaveProfiles();
}

void TMainForm::ProfileUndoBtnClick() {
  const QString name = job_->Profile.Applied;
  if (name.isEmpty()) return;
  skipProfileOnce_ = true;
  ChooseInputFile(job_->Input.InputFileName);
  skipProfileOnce_ = false;
  if (State.ProfileNoteLb.Caption.isEmpty())
    ProfileNote(QStringLiteral("A(z) „%1” mentett beállítás visszavonva: a fájl az automatikus "
                               "felismerés szerint áll")
                    .arg(name));
}

void TMainForm::ProfilesMenuClick() {
  ui_.ShowModal(SecondaryWindow::Profiles);
}

}  // namespace krinu
