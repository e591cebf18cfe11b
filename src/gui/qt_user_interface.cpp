#include "gui/qt_user_interface.h"

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

std::optional<QString> QtUserInterface::OpenFile(const FileDialogSpec& spec) {
  PrepareModal();
  const QString name =
      QFileDialog::getOpenFileName(parent_, spec.Title, spec.FileName, QtFileFilter(spec.Filter));
  if (name.isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(name);  // shown in the window and the log as chosen
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
  if (done < 0 || (total > 0 && done >= total)) {
    CloseProgress();
    return;
  }
  if (!progress_) {
    progress_ = new QProgressDialog(what, QString(), 0, 1000, parent_);
    progress_->setWindowModality(Qt::WindowModal);
    progress_->setMinimumDuration(500);  // only long work shows it
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
  }
  progress_->setLabelText(what);
  if (total > 0) {
    progress_->setMaximum(1000);
    progress_->setValue(int(done * 1000 / total));
  } else {
    progress_->setMaximum(0);  // busy indicator
    progress_->setValue(0);
  }
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtUserInterface::ShowModal(SecondaryWindow window) {
  PrepareModal();
  if (ShowModalHandler) ShowModalHandler(window);
}

}  // namespace krinu
