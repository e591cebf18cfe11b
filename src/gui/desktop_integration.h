#pragma once
// What makes the windows at home on a Hungarian desktop whatever the system locale: Qt's
// own Hungarian texts, the Hungarian locale for what widgets draw (calendars), the icon,
// and a window size that fits the screen.

#include <QIcon>
#include <QLocale>
#include <QSize>

class QCoreApplication;
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

}  // namespace krinu
