#pragma once
// Ties widgets to the members of a window's toolkit-free state, for every window: each
// widget is made under the name of its control, shows the control after every handler and
// writes the user's edits back before the next one. Signals that widgets fire while they
// are being rendered are no user action (Rendering() tells), and the preview grid is
// redrawn only when its content changed, so a column the user widened stays as it is.

#include <QString>
#include <functional>
#include <vector>

#include "app/named_controls.h"

class QAbstractButton;
class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QTableView;
class QTableWidget;
class QToolButton;
class QWidget;

namespace krinu {

class WidgetBinder {
 public:
  explicit WidgetBinder(NamedControls controls) : controls_(std::move(controls)) {}

  QLabel* Label(const QString& name);
  QAbstractButton* Button(const QString& name);
  QLineEdit* Edit(const QString& name, bool readOnly = false, int maxLength = 0);
  QCheckBox* Check(const QString& name);
  QComboBox* Combo(const QString& name);
  QDateEdit* Date(const QString& name);
  QToolButton* CheckButton(const QString& name);
  // A button whose menu lists the items of a list control; an action's data is its index.
  QToolButton* ChoiceButton(const QString& name);
  QTableWidget* Grid(const QString& name);
  QPlainTextEdit* Memo(const QString& name);
  // A read-only table over a model that asks the control for the cells it draws; the
  // header shows the order, and its clicks are the window's to handle (sectionClicked).
  QTableView* Table(const QString& name);
  QListWidget* List(const QString& name);
  QAction* MenuAction(QMenu* menu, const QString& name);
  QMenu* Menu(QMenu* menu, const QString& name);  // a sub-menu made by the caller, named here
  // A caption shown some other way (a tab's text).
  void Caption(const QString& name, std::function<void(const CaptionControl&)> render);
  // Anything else the window shows from its state (the tab, the title).
  void Custom(std::function<void()> render, std::function<void()> sync = {});

  void Render();
  void Sync();
  bool Rendering() const { return rendering_; }
  // Names of the state's controls that no widget was made for (a test keeps it empty).
  QStringList Unbound() const;

 private:
  template <class T>
  T& Control(const QString& name);

  struct Binding {
    std::function<void()> render;
    std::function<void()> sync;
  };
  NamedControls controls_;
  QStringList bound_;
  std::vector<Binding> bindings_;
  bool rendering_ = false;
};

}  // namespace krinu
