#include "gui/desktop_integration.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFontMetrics>
#include <QLayout>
#include <QLibraryInfo>
#include <QMimeData>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QTranslator>
#include <QUrl>
#include <QWidget>

namespace krinu {
namespace {

class EventAction : public QObject {
 public:
  EventAction(QObject* watched, QEvent::Type type, std::function<void()> action)
      : QObject(watched), type_(type), action_(std::move(action)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == type_) action_();
    return QObject::eventFilter(watched, event);
  }

 private:
  QEvent::Type type_;
  std::function<void()> action_;
};

}  // namespace

void OnEvent(QObject* watched, QEvent::Type type, std::function<void()> action) {
  watched->installEventFilter(new EventAction(watched, type, std::move(action)));
}

void WrapWhenNarrow(QScrollArea* area, QBoxLayout* row) {
  OnEvent(area->viewport(), QEvent::Resize, [area, row] {
    int needed = row->spacing() * std::max(0, row->count() - 1);
    for (int i = 0; i < row->count(); ++i) needed += row->itemAt(i)->minimumSize().width();
    if (const QLayout* page = area->widget() ? area->widget()->layout() : nullptr)
      needed += page->contentsMargins().left() + page->contentsMargins().right();
    const QBoxLayout::Direction direction =
        area->viewport()->width() < needed ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight;
    if (row->direction() != direction) row->setDirection(direction);
  });
}

void LeaveRoomForAccents(QWidget* field) {
  const QFontMetrics fm = field->fontMetrics();
  const int overhang = -fm.boundingRect(QStringLiteral("ŐŰÁÉÍÓÚ")).top() - fm.ascent();
  // No accent stands higher than a third of a line: a taller box is a font engine's mistake.
  if (overhang > 0 && overhang <= fm.height() / 3)
    field->setMinimumHeight(field->sizeHint().height() + 2 * overhang);
}

void PreparePlatform() {
#ifdef Q_OS_WIN
  // Qt's default font database on Windows takes a text's bounding box from GDI's glyph
  // outlines, which Wine reports two to three times too tall: single-line fields then centre
  // their text out of sight, and room measured for accents makes them huge. DirectWrite's
  // measures are right, and it takes the same system font (the one Windows gives message
  // boxes and dialogs). An explicit -platform still wins.
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

namespace {

// The local files of a drag; empty when anything else (a web link, text) is in it.
QStringList DroppedPaths(const QMimeData* mime) {
  QStringList paths;
  if (!mime || !mime->hasUrls()) return paths;
  for (const QUrl& url : mime->urls()) {
    if (!url.isLocalFile()) return {};
    paths << url.toLocalFile();
  }
  return paths;
}

}  // namespace

void AcceptFileDrag(QDragEnterEvent* event) {
  if (!DroppedPaths(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TakeDroppedFiles(QDropEvent* event, QObject* context,
                      const std::function<void(const QStringList&)>& take) {
  const QStringList paths = DroppedPaths(event->mimeData());
  if (paths.isEmpty()) return;
  event->acceptProposedAction();
  QTimer::singleShot(0, context, [take, paths] { take(paths); });
}

}  // namespace krinu
