#pragma once
// Showing the toolkit-free control state in widgets, shared by every window.

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QString>
#include <QStringList>

#include "app/controls.h"

namespace krinu {

inline void RenderText(QLineEdit* edit, const TextControl& state) {
  if (edit->text() != state.Text) edit->setText(state.Text);  // keeps the cursor when unchanged
  edit->setEnabled(state.Enabled);
}

// Refills a combo or list widget only when its items differ, so the view does not jump.
// True when the items changed.
inline bool RenderItems(QComboBox* w, const QStringList& items) {
  QStringList shown;
  for (int i = 0; i < w->count(); ++i) shown << w->itemText(i);
  if (shown == items) return false;
  w->clear();
  w->addItems(items);
  return true;
}

inline void RenderItems(QListWidget* w, const QStringList& items) {
  QStringList shown;
  for (int i = 0; i < w->count(); ++i) shown << w->item(i)->text();
  if (shown == items) return;
  w->clear();
  w->addItems(items);
}

// Moves the keyboard focus to the named child once; the request is then used up.
inline void RenderFocus(QWidget* root, QString& focusedControl) {
  if (focusedControl.isEmpty()) return;
  if (auto* w = root->findChild<QWidget*>(focusedControl)) w->setFocus();
  focusedControl.clear();
}

}  // namespace krinu
