#pragma once
// The main window: renders TMainForm's state, writes user edits back into it and calls
// its handlers. It owns no workflow logic.

#include <QMainWindow>
#include <functional>
#include <memory>
#include <vector>

#include "app/main_form.h"
#include "gui/qt_user_interface.h"

class QAbstractButton;
class QLabel;
class QLineEdit;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QPlainTextEdit;
class QTableWidget;
class QTabWidget;
class QToolButton;
class QFrame;
class QAction;

namespace krinu {

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(AppEnvironment env, QWidget* parent = nullptr);
  ~MainWindow() override;

  TMainForm& Form() { return *form_; }
  // Runs start-up; false when the program must end at once.
  bool Start();
  // Writes edits into the state, runs a handler, shows the new state.
  void Run(const std::function<void()>& handler);
  void Render();
  // Chooses an input file as the file button would, without the dialog.
  void OpenInputFile(const QString& path);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  struct Binding {
    std::function<void()> render;
    std::function<void()> sync;  // empty for controls the user cannot change
  };

  void BuildMenu();
  QWidget* BuildInputTab();
  QWidget* BuildXmlTab();
  QFrame* MakePanel(const QString& name, CaptionControl& title, QWidget*& body);
  void ShowSecondary(SecondaryWindow window);
  void Sync();

  // Binding helpers: each creates the widget, names it and remembers how to show it.
  QLabel* Label(const QString& name, CaptionControl& c);
  QAbstractButton* Button(const QString& name, CaptionControl& c);
  QLineEdit* Edit(const QString& name, TextControl& c, bool readOnly, int maxLength = 0);
  QCheckBox* Check(const QString& name, CheckControl& c);
  QComboBox* Combo(const QString& name, ComboControl& c);
  QDateEdit* Date(const QString& name, DateControl& c);
  QToolButton* CheckButton(const QString& name, CheckButtonControl& c);
  QTableWidget* Grid(const QString& name, GridControl& c);
  QPlainTextEdit* Memo(const QString& name, MemoControl& c);
  QAction* MenuAction(QMenu* menu, const QString& name, CaptionControl& c);

  QtUserInterface ui_;
  std::unique_ptr<TMainForm> form_;
  std::vector<Binding> bindings_;
  QTabWidget* pages_ = nullptr;
  bool rendering_ = false;
};

}  // namespace krinu
