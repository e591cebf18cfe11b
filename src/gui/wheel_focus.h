#pragma once
// The mouse wheel over a combo box, a spin box or a date field changes its value only when
// it has the focus; otherwise the wheel scrolls the page under it. A wheel passing over a
// column combo must not remap a column behind the user's back.

class QWidget;

namespace krinu {

// For every combo box and spin box (date fields included) under root, now present.
void WheelChangesOnlyWithFocus(QWidget* root);

}  // namespace krinu
