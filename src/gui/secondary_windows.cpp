#include "gui/secondary_windows.h"

#include "gui/adozok_torzs_dialog.h"
#include "gui/batch_dialog.h"
#include "gui/help_window.h"
#include "gui/profiles_dialog.h"
#include "gui/show_missed_dialog.h"
#include "gui/summary_dialog.h"
#include "gui/ugyintezok_torzs_dialog.h"

namespace krinu {

void ShowSecondaryWindow(QWidget* parent, SecondaryWindow window, TSession& session,
                         const TJob& job) {
  switch (window) {
    case SecondaryWindow::Adozok:
      ShowAdozokTorzs(parent, session);
      break;
    case SecondaryWindow::Ugyintezok:
      ShowUgyintezokTorzs(parent, session);
      break;
    case SecondaryWindow::ShowMissed:
      ShowMissedRows(parent, job, session.Env.DocumentsDir);
      break;
    case SecondaryWindow::Summary:
      ShowSummary(parent, job);
      break;
    case SecondaryWindow::Batch:
      ShowBatch(parent, session);
      break;
    case SecondaryWindow::Help:
      ShowHelpWindow(parent, session.UserGuideFile);
      break;
    case SecondaryWindow::Profiles:
      ShowProfiles(parent, session);
      break;
  }
}

}  // namespace krinu
