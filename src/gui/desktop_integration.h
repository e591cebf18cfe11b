#pragma once
// What makes the windows at home on a Hungarian desktop whatever the system locale: Qt's
// own Hungarian texts, the Hungarian locale for what widgets draw (calendars), the icon,
// and a window size that fits the screen.

#include <QEvent>
#include <QIcon>
#include <QLocale>
#include <QSize>
#include <QStringList>
#include <functional>

class QCoreApplication;
class QDragEnterEvent;
class QDropEvent;
class QObject;
class QBoxLayout;
class QScrollArea;
class QWidget;

namespace krinu {

// Settings the platform reads when the application object is made, so called before it.
void PreparePlatform();
// The interface is Hungarian. Only widgets get it: the logic keeps the user's locale.
QLocale InterfaceLocale();
// Installs qtbase_hu from Qt's translations folder; false when it is not there.
bool InstallQtTranslation(QCoreApplication& app);
QIcon ProgramIcon();
// Gives a top-level window the Hungarian locale, sizes it to `preferred` but no larger than
// the screen's free area leaves room for (title bar and panel) and centres it there.
void PlaceOnScreen(QWidget* window, QSize preferred);

// A drag of local files is welcome (anything else, a web link or text, is not); dropped,
// they go to `take` once the drop has ended, so that a box it opens does not keep the drag
// source waiting.
void AcceptFileDrag(QDragEnterEvent* event);
void TakeDroppedFiles(QDropEvent* event, QObject* context,
                      const std::function<void(const QStringList&)>& take);

// A single-line field (edit, combo box, date picker) centres its text on the font's ascent
// and descent and clips it to its frame. Where the accents of Hungarian capitals stand above
// the ascent (Tahoma's "Ő" and "Ű", say) they would be cut off: the field grows by what
// they need, above and below alike.
void LeaveRoomForAccents(QWidget* field);

// Runs action after each event of the given type reaches watched (which owns the filter).
void OnEvent(QObject* watched, QEvent::Type type, std::function<void()> action);

// A row of panels side by side while the scroll area's view is wide enough for all of them,
// one under the other when not: a small or scaled screen scrolls down, not sideways.
void WrapWhenNarrow(QScrollArea* area, QBoxLayout* row);

}  // namespace krinu
