#include "support/scripted_ui.h"

namespace krinu::test {

void ScriptedUserInterface::Box(const char* kind, const QString& text) {
  if (progressOpen_) ++BoxesDuringProgress;
  Messages.push_back({QString::fromLatin1(kind), text});
}

bool ScriptedUserInterface::Confirm(const QString& text) {
  Box("confirmation", text);
  if (ConfirmAnswers.empty()) return false;
  const bool answer = ConfirmAnswers.front();
  ConfirmAnswers.pop_front();
  return answer;
}

std::optional<QString> ScriptedUserInterface::OpenFile(const FileDialogSpec& spec) {
  DialogSpecs.push_back(spec);
  if (OpenFileAnswers.empty()) return std::nullopt;
  auto answer = OpenFileAnswers.front();
  OpenFileAnswers.pop_front();
  return answer;
}

std::optional<QString> ScriptedUserInterface::SaveFile(const FileDialogSpec& spec) {
  DialogSpecs.push_back(spec);
  if (SaveFileAnswers.empty()) return std::nullopt;
  auto answer = SaveFileAnswers.front();
  SaveFileAnswers.pop_front();
  return answer;
}

OpenDocumentResult ScriptedUserInterface::OpenDocument(const QString& path) {
  OpenedDocuments.push_back(path);
  return OpenDocumentAnswer;
}

void ScriptedUserInterface::Progress(const QString& what, qint64 done, qint64 total) {
  ++ProgressCalls;
  progressOpen_ = done >= 0 && (total <= 0 || done < total);
  if (progressOpen_ && (ProgressTexts.isEmpty() || ProgressTexts.last() != what))
    ProgressTexts << what;
}

bool ScriptedUserInterface::CancellableProgress(const QString& what, qint64 done, qint64 total) {
  Progress(what, done, total);
  return CancelWhen && CancelWhen(what, done, total);
}

QStringList ScriptedUserInterface::Texts(const QString& kind) const {
  QStringList out;
  for (const auto& m : Messages)
    if (kind.isEmpty() || m.Kind == kind) out << m.Text;
  return out;
}

}  // namespace krinu::test
