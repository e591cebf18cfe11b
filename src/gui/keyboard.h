#pragma once
// Reaching the windows from the keyboard: the Alt letter of each captioned control, and Enter
// pressing the button of the panel the focus is in.

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

class QAbstractButton;
class QDateTimeEdit;
class QTabWidget;
class QWidget;

namespace krinu {

// The caption as shown, with the Alt letter of the control it reaches underlined (for a
// label, the field it names). The letters are chosen per window so that none repeats; the
// state's captions stay as written, the "&" is added only on the way to the screen. A
// caption without a letter of its own is shown as it is.
[[nodiscard]] QString WithAccelerator(const QString& objectName, const QString& caption);

// A click into a date picker selects the part of the date it lands on (year, month or day),
// so that typing replaces that part: without it, the digits typed go in beside the old
// ones, the date no longer reads, and every key is refused.
void SelectSectionOnClick(QDateTimeEdit* edit);

// Gives each named label the named field as its buddy: the label's Alt letter then moves
// the focus there. Pairs are (label, field) objectNames under root.
void LinkLabels(QWidget* root, const std::vector<std::pair<QString, QString>>& pairs);

// Ctrl+Tab and Ctrl+PgDown show the next tab, Ctrl+Shift+Tab and Ctrl+PgUp the one before,
// wherever the focus is in the window: the tab widget's own keys reach it only from a
// widget that leaves them alone, and a combo box, a date picker or a table takes them.
void SwitchTabsFromAnywhere(QTabWidget* tabs);

// Tab moves through the named widgets in the order given.
void ChainTabOrder(QWidget* root, const QStringList& names);

// Enter in one of a group's widgets presses the group's button, as Enter in a dialog presses
// its default button. A focused push button is pressed itself; the log and the pop-ups of
// combos and date pickers (windows of their own) keep their Enter.
class EnterPressesButton : public QObject {
  Q_OBJECT
 public:
  using ButtonOf = std::function<QAbstractButton*()>;
  explicit EnterPressesButton(QObject* parent) : QObject(parent) {}
  // members: the widgets (with everything inside them) whose Enter goes to the button.
  void Add(const std::vector<QWidget*>& members, ButtonOf button);
  void Add(const std::vector<QWidget*>& members, QAbstractButton* button);
  // The button that Enter presses with the focus on the widget; nullptr when none.
  [[nodiscard]] QAbstractButton* ButtonFor(QWidget* focus) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Group {
    std::vector<QWidget*> Members;
    ButtonOf Button;
  };
  std::vector<Group> groups_;
};

}  // namespace krinu
