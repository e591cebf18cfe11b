#include "gui/desktop_integration.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>
#include <QWidget>

namespace krinu {

void PreparePlatform() {
#ifdef Q_OS_WIN
  // Qt's GDI font engine takes a text's bounding box from the glyph outlines, which some
  // systems (Wine among them) report far too tall; single-line edits then centre their text
  // out of sight. DirectWrite measures it right. An explicit -platform still wins.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "windows:fontengine=directwrite");
#endif
}

QLocale InterfaceLocale() {
  return QLocale(QLocale::Hungarian, QLocale::Hungary);
}

bool InstallQtTranslation(QCoreApplication& app) {
  auto* translator = new QTranslator(&app);
  if (!translator->load(QStringLiteral("qtbase_hu"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/icons/krinu-%1.png").arg(size), QSize(size, size));
  return icon;
}

void PlaceOnScreen(QWidget* window, QSize preferred) {
  window->setLocale(InterfaceLocale());
  QScreen* screen = window->screen();
  if (!screen) {
    window->resize(preferred);
    return;
  }
  // The free area excludes the panels a desktop reserves; the frame the window manager
  // adds (title bar, borders) is not yet known before the first show.
  const QRect free = screen->availableGeometry();
  constexpr int kFrameWidth = 16, kFrameHeight = 40;
  const QSize room(free.width() - kFrameWidth, free.height() - kFrameHeight);
  const QSize size = preferred.boundedTo(room).expandedTo(window->minimumSizeHint());
  window->resize(size);
  window->move(free.x() + (free.width() - size.width()) / 2,
               free.y() + (free.height() - size.height() - kFrameHeight) / 2);
}

}  // namespace krinu
