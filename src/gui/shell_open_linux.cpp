#include <QDesktopServices>
#include <QUrl>

#include "gui/shell_open.h"

namespace krinu {

bool OpenWithShell(const QString& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace krinu
