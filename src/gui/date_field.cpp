#include "gui/date_field.h"

#include <QKeyEvent>

namespace krinu {

void TDateField::keyPressEvent(QKeyEvent* event) {
  const QString text = event->text();
  const QChar c = text.size() == 1 ? text[0] : QChar();
  const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
  // The separator after a part the field has already left (". " counts as one).
  if (plain && advanced_ && (c == u'.' || c == u'-' || c == u'/' || c == u' ')) {
    event->accept();
    return;
  }
  const Section before = currentSection();
  QDateEdit::keyPressEvent(event);
  advanced_ = plain && c.isDigit() && currentSection() != before;
}

void TDateField::focusInEvent(QFocusEvent* event) {
  advanced_ = false;
  QDateEdit::focusInEvent(event);
}

}  // namespace krinu
