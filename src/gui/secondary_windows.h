#pragma once
#include <QWidget>

#include "app/session.h"
#include "app/user_interface.h"

namespace krinu {

// Opens one of the main window's secondary windows modally over parent.
void ShowSecondaryWindow(QWidget* parent, SecondaryWindow window, TSession& session);

}  // namespace krinu
