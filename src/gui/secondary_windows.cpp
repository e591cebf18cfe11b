#include "gui/secondary_windows.h"

namespace krinu {

void ShowSecondaryWindow(QWidget* parent, SecondaryWindow window, TMainForm& form) {
  (void)parent;
  (void)form;
  switch (window) {
    case SecondaryWindow::Adozok:
    case SecondaryWindow::Ugyintezok:
    case SecondaryWindow::ShowMissed:
      break;
  }
}

}  // namespace krinu
