#include "gui/help_window.h"

#include <QDialogButtonBox>
#include <QImage>
#include <QPixmap>
#include <QPushButton>
#include <QResizeEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>
#include <vector>

#include "gui/desktop_integration.h"

namespace krinu {

QSizeF FittedImageSize(QSize natural, qreal room) {
  if (natural.isEmpty()) return {};
  room = std::max<qreal>(room, 48);  // a picture stays recognisable in the narrowest window
  if (natural.width() <= room) return QSizeF(natural);
  return QSizeF(room, natural.height() * room / natural.width());
}

GuideBrowser::GuideBrowser(QWidget* parent) : QTextBrowser(parent) {
  setObjectName(QStringLiteral("HelpBrowser"));
  // Links inside the guide stay here; links out of it go to whatever the desktop has.
  setOpenLinks(true);
  setOpenExternalLinks(true);
  document()->setUndoRedoEnabled(false);  // the sizes set here are no edits to take back
  connect(this, &QTextBrowser::sourceChanged, this, [this] {
    natural_.clear();  // another document may name other pictures alike
    fittedWidth_ = -1;
    FitToWidth();
  });
}

void GuideBrowser::resizeEvent(QResizeEvent* event) {
  QTextBrowser::resizeEvent(event);
  FitToWidth();
}

QSize GuideBrowser::NaturalSize(const QString& name) {
  auto it = natural_.constFind(name);
  if (it != natural_.constEnd()) return *it;
  QSize size;
  const QUrl url = source().resolved(QUrl(name));
  const QVariant resource = loadResource(QTextDocument::ImageResource, url);
  if (resource.userType() == QMetaType::QImage)
    size = resource.value<QImage>().size();
  else if (resource.userType() == QMetaType::QPixmap)
    size = resource.value<QPixmap>().size();
  else if (resource.userType() == QMetaType::QByteArray)
    size = QImage::fromData(resource.toByteArray()).size();
  natural_.insert(name, size);
  return size;
}

void GuideBrowser::FitToWidth() {
  const int width = viewport()->width();
  if (width == fittedWidth_) return;
  fittedWidth_ = width;
  QTextDocument* doc = document();
  const qreal page = width - 2 * doc->documentMargin();
  // Found first and changed afterwards: a change may split the fragments being walked.
  std::vector<std::pair<int, QTextBlockFormat>> blocks;
  std::vector<std::pair<int, QTextImageFormat>> images;
  for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
    QTextBlockFormat blockFormat = block.blockFormat();
    // Preformatted lines wrap like the rest, instead of widening the page.
    if (blockFormat.nonBreakableLines()) {
      blockFormat.setNonBreakableLines(false);
      blocks.emplace_back(block.position(), blockFormat);
    }
    qreal room = page - blockFormat.leftMargin() - blockFormat.rightMargin() -
                 blockFormat.indent() * doc->indentWidth();
    if (QTextList* list = block.textList()) room -= list->format().indent() * doc->indentWidth();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.isValid() || !fragment.charFormat().isImageFormat()) continue;
      QTextImageFormat image = fragment.charFormat().toImageFormat();
      const QSizeF size = FittedImageSize(NaturalSize(image.name()), room - 4);
      if (size.isEmpty() || (qFuzzyCompare(image.width(), size.width()) &&
                             qFuzzyCompare(image.height(), size.height())))
        continue;
      image.setWidth(size.width());
      image.setHeight(size.height());
      for (int i = 0; i < fragment.length(); ++i)
        images.emplace_back(fragment.position() + i, image);
    }
  }
  if (blocks.empty() && images.empty()) return;
  QTextCursor cursor(doc);
  cursor.beginEditBlock();
  for (const auto& [position, format] : blocks) {
    cursor.setPosition(position);
    cursor.setBlockFormat(format);
  }
  for (const auto& [position, format] : images) {
    cursor.setPosition(position);
    cursor.setPosition(position + 1, QTextCursor::KeepAnchor);
    cursor.setCharFormat(format);
  }
  cursor.endEditBlock();
}

HelpWindow::HelpWindow(const QString& guideFile, QWidget* parent)
    : QDialog(parent), browser_(new GuideBrowser(this)) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QStringLiteral("Krinu – Felhasználói kézikönyv"));
  browser_->setSource(QUrl::fromLocalFile(guideFile));  // its images resolve beside it
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  // Hungarian even where Qt's own translation is missing.
  buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Bezárás"));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* v = new QVBoxLayout(this);
  v->addWidget(browser_, 1);
  v->addWidget(buttons);
  PlaceOnScreen(this, kDefaultSize);
}

void ShowHelpWindow(QWidget* parent, const QString& guideFile) {
  HelpWindow window(guideFile, parent);
  window.exec();
}

}  // namespace krinu
