#pragma once
// The main window: renders TMainForm's state, writes user edits back into it and calls
// its handlers. It owns no workflow logic.

#include <QMainWindow>
#include <functional>
#include <memory>
#include <vector>

#include "app/main_form.h"
#include "gui/qt_user_interface.h"
#include "gui/widget_binder.h"

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
class QMenu;
class QDragEnterEvent;
class QDropEvent;
class QMimeData;

namespace krinu {

class EnterPressesButton;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(AppEnvironment env, QWidget* parent = nullptr);
  ~MainWindow() override;

  TMainForm& Form() { return *form_; }
  TSession& Session() { return session_; }
  // Runs start-up; false when the program must end at once.
  bool Start();
  // Writes edits into the state, runs a handler, shows the new state.
  void Run(const std::function<void()>& handler);
  void Render();
  const WidgetBinder& Binder() const { return binder_; }
  // Chooses an input file as the file button would, without the dialog.
  void OpenInputFile(const QString& path);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildMenu();
  void BuildRecentFilesMenu(QMenu* file, QAction* exit);
  void BuildStatusBar();
  void SetUpKeyboard();
  QWidget* BuildInputTab();
  QWidget* BuildXmlTab();
  QFrame* MakePanel(const QString& name, QWidget*& body);
  void ShowSecondary(SecondaryWindow window);
  [[nodiscard]] int HeightForPages() const;

  QtUserInterface ui_;
  TSession session_;
  std::unique_ptr<TMainForm> form_;
  WidgetBinder binder_;
  QTabWidget* pages_ = nullptr;
  EnterPressesButton* enter_ = nullptr;
};

}  // namespace krinu
