#include "gui/qt_user_interface.h"

#include "report/pdf_document.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "gui/shell_open.h"

namespace krinu {

QString QtFileFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    // "*.*" means every file on Windows; here it would hide names without a dot.
    QString desc = parts[i].trimmed().replace(QStringLiteral("(*.*)"), QStringLiteral("(*)"));
    QString pattern = parts[i + 1].trimmed().replace(QLatin1Char(';'), QLatin1Char(' '));
    if (pattern == QStringLiteral("*.*")) pattern = QStringLiteral("*");
    if (!desc.contains(QLatin1Char('('))) desc += QStringLiteral(" (") + pattern + QLatin1Char(')');
    out << desc;
  }
  return out.join(QStringLiteral(";;"));
}

QString QtMessageText(const QString& text) {
  QString out = text;
  out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return out;
}

// A box shown during long work would otherwise sit under the window-modal progress
// dialog, whose timer can still show it on top: neither could then be closed.
void QtUserInterface::PrepareModal() {
  CloseProgress();
  if (BeforeModal) BeforeModal();
}

// Deleted at once rather than later: a box's own event loop would not delete it, and its
// timer would show it over the box.
void QtUserInterface::CloseProgress() {
  delete progress_.data();
  progress_.clear();
}

void QtUserInterface::Information(const QString& text) {
  PrepareModal();
  QMessageBox::information(parent_, QStringLiteral("Információ"), QtMessageText(text));
}

void QtUserInterface::Warning(const QString& text) {
  PrepareModal();
  QMessageBox::warning(parent_, QStringLiteral("Figyelmeztetés"), QtMessageText(text));
}

void QtUserInterface::Error(const QString& text) {
  PrepareModal();
  QMessageBox::critical(parent_, QStringLiteral("Hiba"), QtMessageText(text));
}

void QtUserInterface::ErrorWithDetail(const QString& text, const QString& detail) {
  PrepareModal();
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Hiba"), QtMessageText(text),
                  QMessageBox::Ok, parent_);
  box.setInformativeText(QtMessageText(detail));
  box.exec();
}

bool QtUserInterface::Confirm(const QString& text) {
  PrepareModal();
  return QMessageBox::question(parent_, QStringLiteral("Megerősítés"), QtMessageText(text),
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::Yes) == QMessageBox::Yes;
}

// A return that would be wrong is written only on a deliberate Yes.
bool QtUserInterface::ProceedDespite(const TJobWarning& warning) {
  PrepareModal();
  return QMessageBox::question(
             parent_, QStringLiteral("Megerősítés"), QtMessageText(ProceedQuestion(warning)),
             QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

std::optional<QString> QtUserInterface::OpenFile(const FileDialogSpec& spec) {
  PrepareModal();
  const QString name =
      QFileDialog::getOpenFileName(parent_, spec.Title, spec.FileName, QtFileFilter(spec.Filter));
  if (name.isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(name);  // shown in the window and the log as chosen
}

QStringList QtUserInterface::OpenFiles(const FileDialogSpec& spec) {
  PrepareModal();
  QStringList names =
      QFileDialog::getOpenFileNames(parent_, spec.Title, spec.FileName, QtFileFilter(spec.Filter));
  for (QString& name : names) name = QDir::toNativeSeparators(name);
  return names;
}

std::optional<QString> QtUserInterface::SaveFile(const FileDialogSpec& spec) {
  // Overwriting is the workflow's own decision, so the dialog does not ask.
  PrepareModal();
  const QString name =
      QFileDialog::getSaveFileName(parent_, spec.Title, spec.FileName, QtFileFilter(spec.Filter),
                                   nullptr, QFileDialog::DontConfirmOverwrite);
  if (name.isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(name);
}

OpenDocumentResult QtUserInterface::OpenDocument(const QString& path) {
  if (!QFileInfo::exists(path)) return OpenDocumentResult::NotFound;
  return OpenWithShell(path) ? OpenDocumentResult::Opened : OpenDocumentResult::Failed;
}

void QtUserInterface::Progress(const QString& what, qint64 done, qint64 total) {
  ShowProgress(what, done, total, false);
}

bool QtUserInterface::CancellableProgress(const QString& what, qint64 done, qint64 total) {
  return ShowProgress(what, done, total, true);
}

// True when the user pressed the cancel button (or Escape) since the work began.
bool QtUserInterface::ShowProgress(const QString& what, qint64 done, qint64 total,
                                   bool cancellable) {
  if (done < 0 || (total > 0 && done >= total)) {
    CloseProgress();
    return false;
  }
  if (!progress_) {
    progress_ = new QProgressDialog(what, QString(), 0, 1000, parent_);
    progress_->setWindowTitle(QStringLiteral("Krinu"));
    progress_->setWindowModality(Qt::WindowModal);
    progress_->setMinimumDuration(500);  // only long work shows it
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
    progress_->setMinimumWidth(progress_->fontMetrics().averageCharWidth() * 50);
    cancellable_ = false;
    sinceShown_.invalidate();
  }
  if (progress_->wasCanceled()) return true;
  // Work reports many times a second; the dialog is redrawn a few times a second, and at
  // once when the phase changes.
  const bool changed = what != progress_->labelText() || cancellable != cancellable_;
  if (!changed && sinceShown_.isValid() && sinceShown_.elapsed() < 50) return false;
  sinceShown_.start();
  if (cancellable != cancellable_) {
    // A null text takes the button away: the write of the completed file cannot be stopped.
    progress_->setCancelButtonText(cancellable ? QStringLiteral("Mégse") : QString());
    cancellable_ = cancellable;
  }
  progress_->setLabelText(what);
  if (total > 0) {
    progress_->setMaximum(1000);
    progress_->setValue(int(done * 1000 / total));
  } else {
    progress_->setMaximum(0);  // busy indicator
    progress_->setValue(0);
  }
  // The cancel button needs the user's input; the dialog, once shown, keeps it from the
  // window behind it. Before it shows, input waits, so no button of the window can start
  // other work meanwhile.
  QApplication::processEvents(cancellable_ && progress_->isVisible()
                                  ? QEventLoop::AllEvents
                                  : QEventLoop::ExcludeUserInputEvents);
  return progress_->wasCanceled();
}

void QtUserInterface::ShowModal(SecondaryWindow window) {
  PrepareModal();
  if (ShowModalHandler) ShowModalHandler(window);
}

TStatus QtUserInterface::WritePdf(const QString& file, const TPrintDocument& document) {
  return WritePrintedPdf(file, document);
}

}  // namespace krinu
