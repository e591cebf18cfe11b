#pragma once
#include <QWidget>

#include "app/main_form.h"

namespace krinu {

// Opens one of the main window's secondary windows modally over parent.
void ShowSecondaryWindow(QWidget* parent, SecondaryWindow window, TMainForm& form);

}  // namespace krinu
