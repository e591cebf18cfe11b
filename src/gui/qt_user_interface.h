#pragma once
// The workflow's port implemented with Qt's message boxes, file dialogs and desktop
// services.

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>
#include <QWidget>
#include <functional>

#include "app/user_interface.h"

namespace krinu {

// "desc|pattern|desc|pattern" (the program's filter notation) in Qt's own notation.
QString QtFileFilter(const QString& filter);
// The program's messages use "\r\n" and "\r" for line breaks; Qt wants "\n".
QString QtMessageText(const QString& text);

class QtUserInterface : public UserInterface {
 public:
  explicit QtUserInterface(QWidget* parent) : parent_(parent) {}
  void Information(const QString& text) override;
  void Warning(const QString& text) override;
  void Error(const QString& text) override;
  void ErrorWithDetail(const QString& text, const QString& detail) override;
  bool Confirm(const QString& text) override;
  bool ProceedDespite(const TJobWarning& warning) override;
  std::optional<QString> OpenFile(const FileDialogSpec& spec) override;
  std::optional<QString> SaveFile(const FileDialogSpec& spec) override;
  QStringList OpenFiles(const FileDialogSpec& spec) override;
  OpenDocumentResult OpenDocument(const QString& path) override;
  void Progress(const QString& what, qint64 done, qint64 total) override;
  bool CancellableProgress(const QString& what, qint64 done, qint64 total) override;
  void ShowModal(SecondaryWindow window) override;
  TStatus WritePdf(const QString& file, const TPrintDocument& document) override;

  // Who opens the secondary windows (the main window knows them).
  std::function<void(SecondaryWindow)> ShowModalHandler;
  // Called before any box or dialog shows, so the window behind it is up to date.
  std::function<void()> BeforeModal;

 private:
  void PrepareModal();
  void CloseProgress();
  bool ShowProgress(const QString& what, qint64 done, qint64 total, bool cancellable);
  QWidget* parent_;
  QPointer<QProgressDialog> progress_;
  bool cancellable_ = false;  // the dialog shows its cancel button
  QElapsedTimer sinceShown_;  // since the dialog last took a new value
};

}  // namespace krinu
