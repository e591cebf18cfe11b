#pragma once
// The program's own viewer of the user guide, for a desktop with no HTML viewer. The text
// browser does not scale pictures to the window as a web browser does (it ignores
// "max-width"), so the window does it: every picture is as wide as it is, or as wide as the
// room beside the text when that is less; and the preformatted examples wrap, so that
// nothing runs past the right edge.

#include <QDialog>
#include <QHash>
#include <QSize>
#include <QTextBrowser>

namespace krinu {

// The size a picture of `natural` size is shown in when `room` pixels of width are free:
// its own size when it fits, else scaled down to the room, keeping its proportions.
QSizeF FittedImageSize(QSize natural, qreal room);

class GuideBrowser : public QTextBrowser {
  Q_OBJECT
 public:
  explicit GuideBrowser(QWidget* parent = nullptr);
  // Sizes the pictures and wraps the preformatted text for the present width.
  void FitToWidth();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QSize NaturalSize(const QString& name);

  QHash<QString, QSize> natural_;
  int fittedWidth_ = -1;
};

class HelpWindow : public QDialog {
  Q_OBJECT
 public:
  HelpWindow(const QString& guideFile, QWidget* parent = nullptr);
  QTextBrowser* Browser() const { return browser_; }
  // Room for the guide's widest pictures at their natural size, where the screen has it.
  static constexpr QSize kDefaultSize{1080, 660};

 private:
  GuideBrowser* browser_;
};

void ShowHelpWindow(QWidget* parent, const QString& guideFile);

}  // namespace krinu
