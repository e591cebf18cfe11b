#pragma once
// The few things the workflow asks of whoever shows it: message boxes, file dialogs,
// opening a document and progress. The Qt windows, krinu-cli and the tests implement it.

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

#include "app/job_warning.h"
#include "common/print_document.h"
#include "common/result.h"

namespace krinu {

struct FileDialogSpec {
  QString Title;
  QString
      Filter;  // "Csv files (*.csv) |*.csv|All Files (*.*)|*.*" style: description|pattern pairs
  QString FileName;  // initial file name or folder
  bool MustExist = true;
};

enum class OpenDocumentResult { Opened, NotFound, Failed };

// The secondary windows the main window opens modally. Help is the program's own viewer of
// the user guide, for a desktop that cannot open it.
enum class SecondaryWindow { Adozok, Ugyintezok, ShowMissed, Help, Summary, Profiles, Batch };

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  virtual void Information(const QString& text) = 0;
  virtual void Warning(const QString& text) = 0;
  virtual void Error(const QString& text) = 0;
  // An error box with a hint of where to look, shown apart from the box's own text: the
  // window puts it under the text; the command line's boxes stay as they are without it.
  virtual void ErrorWithDetail(const QString& text, const QString& /*detail*/) { Error(text); }
  // An error box whose text stays as it is, with the reason of the failure beside it: the
  // window shows it as the box's details, the command line on a line of its own. An empty
  // reason shows the box alone.
  virtual void ErrorWithReason(const QString& text, const QString& reason) {
    if (reason.isEmpty())
      Error(text);
    else
      ErrorWithDetail(text, reason);
  }
  // Yes/No question; true means Yes.
  virtual bool Confirm(const QString& text) = 0;
  // Whether to write a return despite a blocking warning; the window's answer defaults to
  // No. True goes on.
  virtual bool ProceedDespite(const TJobWarning& warning) {
    return Confirm(ProceedQuestion(warning));
  }
  virtual std::optional<QString> OpenFile(const FileDialogSpec& spec) = 0;
  virtual std::optional<QString> SaveFile(const FileDialogSpec& spec) = 0;
  // Several files at once (the batch window's inputs); none when the dialog was cancelled.
  virtual QStringList OpenFiles(const FileDialogSpec& spec) {
    const std::optional<QString> file = OpenFile(spec);
    return file ? QStringList{*file} : QStringList{};
  }
  virtual OpenDocumentResult OpenDocument(const QString& path) = 0;
  // Long work reports how far it got; total 0 means "unknown". done == total (total > 0) or
  // done < 0 ends it.
  virtual void Progress(const QString& what, qint64 done, qint64 total) = 0;
  // Progress of work that can still be abandoned: shown as Progress shows it, with a way for
  // the user to stop the work; true once they asked to. Where nobody can ask (the command
  // line) it is plain Progress.
  virtual bool CancellableProgress(const QString& what, qint64 done, qint64 total) {
    Progress(what, done, total);
    return false;
  }
  // Shows a secondary window modally and returns when it closes.
  virtual void ShowModal(SecondaryWindow window) = 0;
  // A printed copy: the document laid out on A4 pages, written as a PDF file (atomically).
  // Only a front end with fonts at hand can; the others say so.
  virtual TStatus WritePdf(const QString& file, const TPrintDocument& /*document*/) {
    return Fail(
        TFailureKind::Access,
        QStringLiteral("Nem sikerült a(z) \"%1\" fájl írása: PDF itt nem készíthető").arg(file));
  }
};

}  // namespace krinu
