#pragma once
// Every control of a window's state under the name the window gives its widget, so that
// one list says which widgets a window must have.

#include <QString>
#include <variant>
#include <vector>

#include "app/controls.h"

namespace krinu {

using ControlRef =
    std::variant<CaptionControl*, TextControl*, CheckControl*, ComboControl*, ListControl*,
                 DateControl*, CheckButtonControl*, GridControl*, MemoControl*, TableControl*>;

struct NamedControl {
  QString Name;
  ControlRef Control;
};
using NamedControls = std::vector<NamedControl>;

}  // namespace krinu
