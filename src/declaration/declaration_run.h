#pragma once
// The declaration run below the window: preparing the loaded lines (combination, negative,
// zero and period checks), building the document and writing the file. The handler in
// app/ does the starting checks, calls these and shows the outcome.

#include <QByteArray>
#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <optional>

#include "common/progress.h"
#include "common/records.h"
#include "common/result.h"
#include "content/afa_adat.h"
#include "declaration/form_frame.h"
#include "declaration/return_model.h"

namespace krinu {

struct TPrepareOptions {
  bool BizSum = true;     // combine the lines of one invoice
  bool DropZero = false;  // exclude lines whose amounts are both below one forint
  QDate PeriodStart;
  QDate PeriodEnd;
  QLocale Locale = QLocale::system();  // its short date format is used in the log
};

struct TPrepareResult {
  QStringList Log;          // starts with the empty line logged after the starting checks
  QStringList PartnerList;  // distinct keys of the included lines, in list order
  TReturnCounts Counts;
};

// Changes Status and Enabled of the lines and puts the combined ones among them in key order.
// The list is expected sorted by key, as a load leaves it; one that is not is sorted first.
// A second run on the same list combines nothing and leaves the included lines as they were.
[[nodiscard]] TPrepareResult PrepareDeclarationLines(TAFAAdatList& list,
                                                     const TPrepareOptions& options);

// Stable sort by Adoszam in plain 16-bit character order.
void SortByKey(TAFAAdatList& list);

// The output file's name: ".xml" appended when the name has no "." after its last "/".
[[nodiscard]] QString XmlFileNameFor(const QString& editText);

// The whole document: declaration, root, main sheet, one sheet per partner, root end.
[[nodiscard]] QByteArray BuildDeclarationDocument(const TReturn& r);
// The same for the return of these lines and partners.
[[nodiscard]] QByteArray BuildDeclarationDocument(const TAdozoAdat& taxpayer,
                                                  const TUgyintezoAdat& administrator,
                                                  const TDeclarationParams& params,
                                                  const TAFAAdatList& list,
                                                  const QStringList& partnerList);

// Writes the bytes beside the target and moves them over it only when all were written, so a
// failure leaves any previous file as it was. The failure names the file and the reason.
TStatus WriteDeclarationFile(const QString& fileName, const QByteArray& bytes);

// The document of the return of these lines and partners built straight into the file, with
// WriteDeclarationFile's guarantees: the target is replaced only when every byte was written.
TStatus WriteDeclarationDocument(const QString& fileName, const TAdozoAdat& taxpayer,
                                 const TUgyintezoAdat& administrator,
                                 const TDeclarationParams& params, const TAFAAdatList& list,
                                 const QStringList& partnerList);

// The return's document, telling how far it got: `sheets` hears the list entries behind the
// sheets written so far (of the list's size) and may stop the work, which fails as Cancelled
// and leaves the target as it was; `writing` hears the start of the last step, the file
// completed and put in place.
TStatus WriteDeclarationDocument(const QString& fileName, const TReturn& r,
                                 const CancellableProgressFn& sheets, const ProgressFn& writing);

// Everything after the starting checks, with the log lines of every step.
struct TDeclarationInput {
  TAdozoAdat Taxpayer;
  TUgyintezoAdat Administrator;
  TDeclarationParams Params;
  bool BizSum = true;
  bool DropZero = false;
  QLocale Locale = QLocale::system();
  QString XmlFileName;  // as XmlFileNameFor gives it
};
// How far the run got, phase by phase. The preparation and the document may be stopped (the
// file is put in place only at the end, so nothing has been written over then); the write
// of the completed file may not.
struct TRunProgress {
  CancellableProgressFn Preparation;  // lines visited by the preparation's passes
  CancellableProgressFn Document;     // list entries behind the sheets written so far
  ProgressFn Write;                   // started; its length is unknown
};
struct TDeclarationOutcome {
  TPrepareResult Prepared;  // its Log holds the document and file lines as well
  // The return as written (also when the write failed); it reads the rows from the list the
  // run prepared. Empty when stopped.
  std::optional<TReturn> Return;
  // Whether the file was written. Cancelled: stopped through the progress; the list is as it
  // was before the run, nothing was written and Prepared is empty.
  TStatus Written;
  [[nodiscard]] bool Cancelled() const {
    return !Written && Written.Failure().Kind == TFailureKind::Cancelled;
  }
};
[[nodiscard]] TDeclarationOutcome RunDeclaration(TAFAAdatList& list, const TDeclarationInput& input,
                                                 const TRunProgress& progress = {});

// The same in two steps, for a front end that looks at the prepared lines' counts before
// the file is written: a list the run works on for itself, as nothing is undone here. The
// outcome of the preparation is Cancelled when stopped; the write completes it.
[[nodiscard]] TDeclarationOutcome PrepareDeclaration(TAFAAdatList& list,
                                                     const TDeclarationInput& input,
                                                     const CancellableProgressFn& progress = {});
void WriteDeclaration(TDeclarationOutcome& outcome, const TAFAAdatList& list,
                      const TDeclarationInput& input, const TRunProgress& progress = {});

}  // namespace krinu
