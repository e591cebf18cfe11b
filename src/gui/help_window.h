#pragma once
// The program's own viewer of the user guide, for a desktop with no HTML viewer.

#include <QDialog>

class QTextBrowser;

namespace krinu {

class HelpWindow : public QDialog {
  Q_OBJECT
 public:
  HelpWindow(const QString& guideFile, QWidget* parent = nullptr);
  QTextBrowser* Browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
};

void ShowHelpWindow(QWidget* parent, const QString& guideFile);

}  // namespace krinu
