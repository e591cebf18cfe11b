#include "gui/help_window.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "gui/desktop_integration.h"

namespace krinu {

HelpWindow::HelpWindow(const QString& guideFile, QWidget* parent)
    : QDialog(parent), browser_(new QTextBrowser(this)) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QStringLiteral("Krinu – Felhasználói kézikönyv"));
  browser_->setObjectName(QStringLiteral("HelpBrowser"));
  // Links inside the guide stay here; links out of it go to whatever the desktop has.
  browser_->setOpenLinks(true);
  browser_->setOpenExternalLinks(true);
  browser_->setSource(QUrl::fromLocalFile(guideFile));  // its images resolve beside it
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* v = new QVBoxLayout(this);
  v->addWidget(browser_, 1);
  v->addWidget(buttons);
  PlaceOnScreen(this, QSize(900, 660));
}

void ShowHelpWindow(QWidget* parent, const QString& guideFile) {
  HelpWindow window(guideFile, parent);
  window.exec();
}

}  // namespace krinu
