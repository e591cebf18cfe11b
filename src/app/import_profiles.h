#pragma once
// Import profiles: what the user corrected on the input tab for one export layout, kept so
// that next month's export of the same layout comes in the same way. A layout is known by
// what the structure detection finds before anyone corrects it; a profile holds only the
// settings the user changed from what the detection chose, so it never fights a detection
// that was right. Beside the corrections it remembers the taxpayer, the administrator and
// the options last used for files of that layout (by file-name pattern).
//
// Kept in one JSON file in the data folder, written atomically. The file is a convenience:
// a missing, damaged or oversized one is set aside as ".bak" and reads as no profiles.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

#include "intake/structure.h"

namespace krinu {

// What the structure stage finds with the detected settings, before any correction.
struct TLayoutFingerprint {
  quint16 CodePage = 0;
  QString Separator;  // as the detection left the separator edit
  bool Header = false;
  int FieldCount = -1;      // -1 when the structure check failed with the detected settings
  QStringList HeaderTexts;  // trimmed and case-folded; empty without a header row
  bool operator==(const TLayoutFingerprint&) const = default;
};

// The fingerprint of a file whose detection left these settings and this structure check.
[[nodiscard]] TLayoutFingerprint LayoutOf(quint16 codePage, const QString& separator, bool header,
                                          const TStructureCheck& check);
// In a few words for a list: "UTF8, ';', fejrovat, 8 mező".
[[nodiscard]] QString LayoutSummary(const TLayoutFingerprint& layout);

// The input tab's settings that a detection chooses and a user may correct.
struct TInputChoices {
  QString Separator;
  bool Header = false;
  std::array<int, 6> Columns{};  // column combo items, 0 none
  QString DateFormat;
  int DecSep = -1;  // DecSepCbx item, -1 none
};

// The settings the user changed from what the detection chose.
struct TInputCorrections {
  std::optional<QString> Separator;
  std::optional<bool> Header;
  std::array<std::optional<int>, 6> Columns;
  std::optional<QString> DateFormat;
  std::optional<int> DecSep;
  [[nodiscard]] bool Empty() const;
  [[nodiscard]] bool TouchesStructure() const { return Separator || Header; }
  bool operator==(const TInputCorrections&) const = default;
};

// What differs between the detection's choices and the ones the load succeeded with.
[[nodiscard]] TInputCorrections CorrectionsBetween(const TInputChoices& detected,
                                                   const TInputChoices& used);
// The structure corrections over the detected choices (the content ones are applied once the
// column assignment has run, by ApplyContentCorrections).
void ApplyStructureCorrections(const TInputCorrections& corrections, TInputChoices& choices);
void ApplyContentCorrections(const TInputCorrections& corrections, TInputChoices& choices);

// The second tab as it was last used for files of a layout whose names follow Pattern.
struct TRememberedRun {
  QString Pattern;  // FileNamePattern of the input file
  QString Adoszam;  // the taxpayer
  int UgyintezoId = -1;
  bool BizSum = true, DropZero = false, OverWrite = true;
  QString NyomtVer;
  bool Quarter = false;  // the period was a calendar quarter, else a month
  QDateTime Used;
  bool operator==(const TRememberedRun&) const = default;
};

// The file's name with every run of digits as "#", case-folded: "Szamlak-2026-10.csv" and
// "szamlak-2026-11.csv" are both "szamlak-#-#.csv".
[[nodiscard]] QString FileNamePattern(const QString& fileName);

struct TImportProfile {
  QString Name;
  TLayoutFingerprint Layout;
  TInputCorrections Corrections;
  QDateTime Saved;                   // when the corrections were saved last
  QDateTime LastUsed;                // when a load last applied or saved them
  std::vector<TRememberedRun> Runs;  // most recent first
  bool operator==(const TImportProfile&) const = default;
};

// The remembered run for files named like fileName, if any.
[[nodiscard]] const TRememberedRun* RememberedRunFor(const TImportProfile& profile,
                                                     const QString& fileName);
// Puts the run first, replacing the one of the same pattern; the oldest beyond the bound go.
void RememberRun(TImportProfile& profile, TRememberedRun run);

// Why a name cannot be a profile's name (empty, too long, a control character), or nothing.
[[nodiscard]] std::optional<QString> ProfileNameProblem(const QString& name);

struct TImportProfiles {
  static constexpr qint64 kMaxFileBytes = qint64(4) << 20;
  static constexpr int kMaxProfiles = 500;
  static constexpr int kMaxRuns = 20;

  std::vector<TImportProfile> Profiles;  // in the order they were made

  [[nodiscard]] TImportProfile* Find(const QString& name);
  [[nodiscard]] const TImportProfile* Find(const QString& name) const;
  // The profile of the layout, if any (there is one per layout).
  [[nodiscard]] TImportProfile* Match(const TLayoutFingerprint& layout);
  // False when there is no profile of that name.
  bool Remove(const QString& name);
  // Why the profile cannot be renamed so, or nothing when it has been.
  [[nodiscard]] std::optional<QString> Rename(const QString& name, const QString& newName);
  // base, or "base (2)", "base (3)", … whichever is free.
  [[nodiscard]] QString UniqueName(const QString& base) const;
  // Saves the corrections for the layout under name: the layout's profile and a profile of
  // that name are replaced by it (the taxpayers it remembered stay). Nothing when it has
  // been; else why not (the bound on the number of profiles).
  [[nodiscard]] std::optional<QString> Put(const QString& name, const TLayoutFingerprint& layout,
                                           const TInputCorrections& corrections,
                                           const QDateTime& now);
};

// The profiles file in the data folder (which ends with a separator).
[[nodiscard]] QString ImportProfilesName(const QString& dataDir);

struct TProfilesRead {
  TImportProfiles Profiles;
  // Set when the file was damaged, too large or held entries that were left out: what was
  // done about it, for one note. The file itself was moved aside as ".bak".
  std::optional<QString> Notice;
};
// Never fails: what cannot be read reads as no profiles (and is said in the notice).
[[nodiscard]] TProfilesRead ReadImportProfiles(const QString& fileName);
// Written as a whole beside the old file and moved over it. Why it failed, or nothing.
[[nodiscard]] std::optional<QString> WriteImportProfiles(const QString& fileName,
                                                         const TImportProfiles& profiles);

// The profiles of a session: read from the data folder the first time they are needed, so
// that a krinu-cli run that uses none never reads or writes the file.
class TProfileStore {
 public:
  void SetFile(const QString& fileName) { fileName_ = fileName; }
  [[nodiscard]] bool Available() const { return !fileName_.isEmpty(); }
  TImportProfiles& Profiles();
  // Reads the file again when another program (krinu-cli, a second window) has changed it
  // since this store read or wrote it. References into the profiles do not survive it.
  void Refresh();
  // The notice of the first read, once.
  [[nodiscard]] std::optional<QString> TakeNotice();
  // Why the profiles could not be written, or nothing.
  [[nodiscard]] std::optional<QString> Save();

 private:
  void Read();
  // The file as this store last read or wrote it (size, time), to see another's change.
  [[nodiscard]] std::pair<qint64, QDateTime> Stamp() const;

  QString fileName_;
  bool read_ = false;
  std::pair<qint64, QDateTime> stamp_;
  TImportProfiles profiles_;
  std::optional<QString> notice_;
};

// The default period of a return after today: the previous calendar quarter.
[[nodiscard]] std::pair<QDate, QDate> PreviousQuarter(const QDate& today);
// Whether the period is one whole calendar quarter.
[[nodiscard]] bool IsCalendarQuarter(const QDate& from, const QDate& to);

}  // namespace krinu
