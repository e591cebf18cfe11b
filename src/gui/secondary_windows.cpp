#include "gui/secondary_windows.h"

#include "gui/adozok_torzs_dialog.h"
#include "gui/help_window.h"
#include "gui/show_missed_dialog.h"
#include "gui/ugyintezok_torzs_dialog.h"

namespace krinu {

void ShowSecondaryWindow(QWidget* parent, SecondaryWindow window, TMainForm& form) {
  switch (window) {
    case SecondaryWindow::Adozok:
      ShowAdozokTorzs(parent, *form.Db);
      break;
    case SecondaryWindow::Ugyintezok:
      ShowUgyintezokTorzs(parent, *form.Db);
      break;
    case SecondaryWindow::ShowMissed:
      ShowMissedRows(parent, form.MissedRows, form.SkippedRecords);
      break;
    case SecondaryWindow::Help:
      ShowHelpWindow(parent, form.UserGuideFile);
      break;
  }
}

}  // namespace krinu
