#include "support/scripted_ui.h"

namespace krinu::test {

bool ScriptedUserInterface::Confirm(const QString& text) {
  Messages.push_back({"confirmation", text});
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

void ScriptedUserInterface::Progress(const QString&, qint64, qint64) {
  ++ProgressCalls;
}

QStringList ScriptedUserInterface::Texts(const QString& kind) const {
  QStringList out;
  for (const auto& m : Messages)
    if (kind.isEmpty() || m.Kind == kind) out << m.Text;
  return out;
}

}  // namespace krinu::test
