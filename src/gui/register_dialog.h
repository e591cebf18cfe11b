#pragma once
// What the taxpayer and administrator register windows share: the layout around their
// edits, the buttons, the list box with its search, and the round trip of every handler
// (edits written back into the form's state, handler run, state rendered).

#include <QDialog>
#include <QSize>
#include <QString>
#include <functional>
#include <vector>

#include <memory>

#include "app/named_controls.h"
#include "gui/qt_user_interface.h"
#include "gui/widget_binder.h"

class QLineEdit;
class QListWidget;

namespace krinu {

// The names and captions one register window differs by.
struct RegisterDialogTexts {
  QString ObjectName, WindowTitle;
  QString Panel1, Panel2;  // header strips over the edits and over the list
  QString UjBTn, ModositBtn, TorlesBtn;
  QString SearchEd, Lbx;  // objectNames of the search edit and the list box
  QSize LbxMinimumSize;
};

// Where the form keeps what the window itself needs to know.
struct RegisterDialogState {
  QString* FocusedControl;    // objectName to focus after a handler; cleared once done
  const bool* Closed;         // the handler asked the window to close
  const qint32* MarkedIndex;  // the list entry loaded into the edits; -1 when none
};

// The form's handlers behind the shared controls.
struct RegisterDialogHandlers {
  std::function<void()> FormShow, UjBTnClick, ModositBtnClick, TorlesBtnClick,
      ClearDataFieldsBtnClick, BezarBtnClick, LbxDblClick;
  std::function<void(QChar)> LbxKeyPress, SearchEdKeyPress;
};

// The handlers of a register form: those both forms name alike, and the list box's and
// the search edit's, which carry the names of their controls.
template <class Form>
RegisterDialogHandlers HandlersOf(Form& form, void (Form::*lbxDblClick)(),
                                  void (Form::*lbxKeyPress)(QChar),
                                  void (Form::*searchEdKeyPress)(QChar)) {
  return {
      .FormShow = [&form] { form.FormShow(); },
      .UjBTnClick = [&form] { form.UjBTnClick(); },
      .ModositBtnClick = [&form] { form.ModositBtnClick(); },
      .TorlesBtnClick = [&form] { form.TorlesBtnClick(); },
      .ClearDataFieldsBtnClick = [&form] { form.ClearDataFieldsBtnClick(); },
      .BezarBtnClick = [&form] { form.BezarBtnClick(); },
      .LbxDblClick = [&form, lbxDblClick] { (form.*lbxDblClick)(); },
      .LbxKeyPress = [&form, lbxKeyPress](QChar key) { (form.*lbxKeyPress)(key); },
      .SearchEdKeyPress = [&form, searchEdKeyPress](QChar key) { (form.*searchEdKeyPress)(key); }};
}

class RegisterDialog : public QDialog {
  Q_OBJECT
 protected:
  explicit RegisterDialog(QWidget* parent);

  UserInterface& Ui() { return ui_; }
  // The form's controls by name; first of all, before any edit is added.
  void BindState(NamedControls controls);
  // A data edit, laid out by Build in the order added (also the tab order).
  QLineEdit* AddEdit(const QString& label, const QString& objectName, int maxLength);
  // Lays the window out around the added edits and wires its buttons and keys to handlers.
  void Build(const RegisterDialogTexts& texts, RegisterDialogState state,
             RegisterDialogHandlers handlers);

  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct LabelledEdit {
    QString Label;
    QLineEdit* Edit;
  };

  void Run(const std::function<void()>& handler);
  void Render();

  QtUserInterface ui_;
  std::unique_ptr<WidgetBinder> binder_;
  std::vector<LabelledEdit> edits_;  // the data edits, in tab order
  QLineEdit* searchEd_ = nullptr;
  QListWidget* lbx_ = nullptr;
  RegisterDialogState state_{};
  RegisterDialogHandlers handlers_;
};

}  // namespace krinu
