#include "app/recent_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdlib>

#include "app/file_names.h"
#include "common/atomic_write.h"
#include "common/text_util.h"

namespace krinu {
namespace {

// A few paths; anything larger is not ours and is not read into memory.
constexpr qint64 kMaxRecentFileBytes = 64 * 1024;

// A remembered path is shown in the menu and handed to a dialog: nothing else is taken.
QString PathValue(const QJsonValue& value) {
  const QString path = value.toString();
  if (path.isEmpty() || path.size() > 4096 || HasControlCharacter(path)) return {};
  return path;
}

}  // namespace

void TRecentFiles::Add(const QString& path) {
  Remove(path);
  Files.prepend(path);
  while (Files.size() > kMaxFiles) Files.removeLast();
}

bool TRecentFiles::Remove(const QString& path) {
  return Files.removeIf([&path](const QString& f) { return SameFile(f, path); }) > 0;
}

QString RecentFilesName(const QString& dataDir) {
  return dataDir + QStringLiteral("legutobbi.json");
}

TRecentFiles LoadRecentFiles(const QString& fileName) {
  TRecentFiles recent;
  const QFileInfo info(fileName);
  if (!info.isFile() || info.size() > kMaxRecentFileBytes) return recent;
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) return recent;
  const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
  // Added oldest first, so that the list keeps its order and loses duplicates and surplus.
  const QJsonArray files = root.value(QStringLiteral("files")).toArray();
  for (qsizetype i = files.size() - 1; i >= 0; --i)
    if (const QString path = PathValue(files.at(i)); !path.isEmpty()) recent.Add(path);
  recent.InputDir = PathValue(root.value(QStringLiteral("inputFolder")));
  recent.XmlDir = PathValue(root.value(QStringLiteral("xmlFolder")));
  // A place no screen could have is not taken.
  const QJsonObject window = root.value(QStringLiteral("window")).toObject();
  const QRect rect(window.value(QStringLiteral("x")).toInt(),
                   window.value(QStringLiteral("y")).toInt(),
                   window.value(QStringLiteral("width")).toInt(),
                   window.value(QStringLiteral("height")).toInt());
  constexpr int kFar = 100000;
  if (rect.width() >= 200 && rect.height() >= 150 && rect.width() <= kFar &&
      rect.height() <= kFar && std::abs(rect.x()) <= kFar && std::abs(rect.y()) <= kFar) {
    recent.Window = rect;
    recent.Maximized = window.value(QStringLiteral("maximized")).toBool();
  }
  return recent;
}

std::optional<QString> SaveRecentFiles(const QString& fileName, const TRecentFiles& recent) {
  QJsonObject root;
  root.insert(QStringLiteral("files"), QJsonArray::fromStringList(recent.Files));
  root.insert(QStringLiteral("inputFolder"), recent.InputDir);
  root.insert(QStringLiteral("xmlFolder"), recent.XmlDir);
  if (recent.Window.isValid())
    root.insert(QStringLiteral("window"),
                QJsonObject{{QStringLiteral("x"), recent.Window.x()},
                            {QStringLiteral("y"), recent.Window.y()},
                            {QStringLiteral("width"), recent.Window.width()},
                            {QStringLiteral("height"), recent.Window.height()},
                            {QStringLiteral("maximized"), recent.Maximized}});
  return WriteFileAtomically(fileName, QJsonDocument(root).toJson(QJsonDocument::Indented));
}

}  // namespace krinu
