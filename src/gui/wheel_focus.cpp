#include "gui/wheel_focus.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QWidget>

namespace krinu {
namespace {

class TWheelFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Wheel) return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w) return false;
    const QWidget* focus = QApplication::focusWidget();
    if (focus && (focus == w || w->isAncestorOf(focus))) return false;
    // Ignored and filtered: the widget never sees it, and the application hands it on to
    // the parents, up to the scroll area.
    event->ignore();
    return true;
  }
};

}  // namespace

void WheelChangesOnlyWithFocus(QWidget* root) {
  auto* filter = new TWheelFilter(root);
  const auto guard = [filter](QWidget* w) {
    // The wheel would otherwise give the focus first and then change the value.
    if (w->focusPolicy() == Qt::WheelFocus) w->setFocusPolicy(Qt::StrongFocus);
    w->installEventFilter(filter);
  };
  for (QComboBox* combo : root->findChildren<QComboBox*>()) guard(combo);
  for (QAbstractSpinBox* spin : root->findChildren<QAbstractSpinBox*>()) guard(spin);
}

}  // namespace krinu
