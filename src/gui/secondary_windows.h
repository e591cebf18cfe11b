#pragma once
#include <QWidget>

#include "app/session.h"
#include "app/user_interface.h"

namespace krinu {

// Opens one of the main window's secondary windows modally over parent.
// The job is the one the main window shows (the skipped-rows viewer lists its rows).
void ShowSecondaryWindow(QWidget* parent, SecondaryWindow window, TSession& session,
                         const TJob& job);

}  // namespace krinu
