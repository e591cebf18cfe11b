#pragma once
// One job: one input file taken in and the returns made from it. Everything the job works
// with lives here, so that the session can run one job after another (or the window can
// show a new file) without anything of the last one coming along: its input settings, how
// far the input chain got, the loaded lines and the skipped rows, and the last declaration
// run with its return.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "app/import_profiles.h"
#include "app/job_warning.h"
#include "content/afa_adat.h"
#include "content/input_load.h"
#include "declaration/return_model.h"
#include "reader/input_file.h"

namespace krinu {

// How far the input chain got with the job's file.
enum class TInputStage { NoFile, FileChosen, StructureChecked, ContentChecked, Loaded };

// The last declaration run of a job.
struct TJobRun {
  QStringList PartnerList;
  QString XmlFileName;     // its output file
  QString LastWrittenXml;  // the file it wrote; empty when it wrote none
  // The lines as this run prepared them (combined, excluded): a copy of the job's loaded
  // lines, so that every run starts from the lines as the load left them.
  TAFAAdatList Lines;
  // The return it wrote; its rows are read from Lines.
  std::optional<TReturn> Return;
  QDateTime WrittenAt;   // when the file was put in place
  qint64 XmlBytes = -1;  // its size then
  // What the run found beyond its checks and wrote despite.
  std::vector<TJobWarning> Warnings;
};

class TJob {
 public:
  TJob() = default;
  // The return points into the lines: a job stays where it was made.
  TJob(const TJob&) = delete;
  TJob& operator=(const TJob&) = delete;

  [[nodiscard]] bool InputLoaded() const { return Stage == TInputStage::Loaded; }

  // The lines and skipped rows of a load (or none), replacing the last ones; a return made
  // from the old lines goes with them.
  void SetLines(TAFAAdatList lines, QStringList missedRows, std::vector<TSkippedRecord> skipped) {
    Run.Return.reset();
    LoadedLines = qint64(lines.size());
    Run.Lines.clear();
    LoadWarnings.clear();
    AFAAdatList = std::move(lines);
    MissedRows = std::move(missedRows);
    SkippedRecords = std::move(skipped);
  }

  // The input file as the structure panel describes it.
  TInputSettings Input;
  TInputStage Stage = TInputStage::NoFile;
  bool Refused = false;  // the file chosen was refused (no access, code page, empty, too large)
  // The file as its lines were counted: a load that ends on another file (grown, rewritten)
  // is refused.
  qint64 CountedSize = -1;
  QDateTime CountedModified;
  bool ChangedWhileRead = false;
  // Where the last content check failed first, for its message.
  QString LastCheckFirstFailure;
  // Why the last load stopped (the reader's message, with the record and field), when an
  // error ended it.
  QString LoadError;
  bool LoadRanOutOfMemory = false;  // then nothing of it was kept, nor is written

  // What the last load gave.
  TAFAAdatList AFAAdatList;
  qint64 LoadedLines = 0;  // as the load left the list, before any run added to it
  QStringList MissedRows;
  std::vector<TSkippedRecord> SkippedRecords;  // beside MissedRows, for the saved report
  // What the loaded lines hold beyond the checks: tax numbers whose check digit fails.
  std::vector<TJobWarning> LoadWarnings;

  // A copy of the loaded lines for a run to prepare. It keeps the room the load left behind
  // them, so that the combined lines are merged in without moving the whole list.
  [[nodiscard]] TAFAAdatList LinesForRun() const {
    TAFAAdatList lines;
    lines.reserve(AFAAdatList.capacity());
    lines.insert(lines.end(), AFAAdatList.begin(), AFAAdatList.end());
    lines.TextBlocks = AFAAdatList.TextBlocks;
    return lines;
  }
  // The loaded lines themselves, for the one run of a job that makes one return only: a
  // million lines are not copied for nothing. Nothing stays loaded after it.
  [[nodiscard]] TAFAAdatList TakeLinesForRun() {
    TAFAAdatList lines = std::move(AFAAdatList);
    AFAAdatList = TAFAAdatList();
    Stage = TInputStage::ContentChecked;
    return lines;
  }

  TJobRun Run;

  // The import profile side of the input chain.
  struct TProfileTrace {
    // The file's layout as the detection found it; none while profiles are not in use.
    std::optional<TLayoutFingerprint> Layout;
    // What the detection chose: the structure guess, and the column assignment of the last
    // structure check.
    TInputChoices Detected;
    // The profile whose corrections were applied; empty when none was.
    QString Applied;
    // Why the profile asked for cannot be used with this file (krinu-cli --profile NAME).
    QString Refusal;
    // The profile the last successful load applied or saved, whose remembered second tab
    // a written return updates.
    QString Recorded;
    // What the input tab's note said about it, in order (applied, saved, a damaged file).
    QStringList Notes;
    // Why the corrections asked to be saved were not.
    QString SaveFailure;
  } Profile;
};

}  // namespace krinu
