#pragma once
// A UserInterface for tests: records every message box, answers dialogs and confirmations
// from queues (an empty queue answers No / Cancel).

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "app/user_interface.h"
#include "support/qt_printers.h"

namespace krinu::test {

struct Message {
  QString Kind;  // information, warning, error, confirmation
  QString Text;
  bool operator==(const Message&) const = default;
};

class ScriptedUserInterface : public UserInterface {
 public:
  void Information(const QString& text) override { Box("information", text); }
  void Warning(const QString& text) override { Box("warning", text); }
  void Error(const QString& text) override { Box("error", text); }
  void ErrorWithDetail(const QString& text, const QString& detail) override {
    Error(text);
    ErrorDetails.push_back(detail);
  }
  bool Confirm(const QString& text) override;
  std::optional<QString> OpenFile(const FileDialogSpec& spec) override;
  std::optional<QString> SaveFile(const FileDialogSpec& spec) override;
  OpenDocumentResult OpenDocument(const QString& path) override;
  void Progress(const QString& what, qint64 done, qint64 total) override;
  bool CancellableProgress(const QString& what, qint64 done, qint64 total) override;
  // Records the window; OnShowModal (when set) plays the user's part inside it.
  void ShowModal(SecondaryWindow window) override {
    ShownWindows.push_back(window);
    if (OnShowModal) OnShowModal(window);
  }

  // Texts of the recorded messages of one kind (all kinds when empty).
  QStringList Texts(const QString& kind = QString()) const;
  void Clear() {
    Messages.clear();
    ErrorDetails.clear();
  }

  std::vector<Message> Messages;
  std::vector<QString> ErrorDetails;  // the hints beside error boxes, in order
  std::deque<bool> ConfirmAnswers;
  std::deque<std::optional<QString>> OpenFileAnswers;
  std::deque<std::optional<QString>> SaveFileAnswers;
  std::vector<FileDialogSpec> DialogSpecs;
  std::vector<QString> OpenedDocuments;
  OpenDocumentResult OpenDocumentAnswer = OpenDocumentResult::Opened;
  int ProgressCalls = 0;
  // The progress texts in the order shown, a text reported many times in a row once.
  QStringList ProgressTexts;
  // Plays the user's part in work that can be stopped: true asks it to stop. Unset: never.
  std::function<bool(const QString& what, qint64 done, qint64 total)> CancelWhen;
  // Boxes shown while a progress was still open (the window would hide them under it).
  int BoxesDuringProgress = 0;
  std::vector<SecondaryWindow> ShownWindows;
  std::function<void(SecondaryWindow)> OnShowModal;

 private:
  void Box(const char* kind, const QString& text);
  bool progressOpen_ = false;
};

}  // namespace krinu::test
