#pragma once
// The taxpayer register window ("Adózók karbantartása"): renders TAdozokTorzsForm's state
// and forwards the user's clicks and keys to its handlers.

#include <QDialog>
#include <functional>

#include "gui/qt_user_interface.h"
#include "masterdata/adozok_torzs_form.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace krinu {

// Shows the taxpayer register modally over parent; returns when it closes.
void ShowAdozokTorzs(QWidget* parent, TSQLiteDatabase& db);

// Pieces both register windows share.
namespace register_dialog {
QLabel* HeaderStrip(const QString& objectName, const QString& caption, QWidget* parent);
QLineEdit* Edit(const QString& objectName, int maxLength, QWidget* parent);
QPushButton* Button(const QString& objectName, const QString& caption, QWidget* parent);
void RenderText(QLineEdit* edit, const TextControl& state);
void RenderList(QListWidget* list, const ListControl& state);
// Runs a handler; a failure it does not handle itself is shown as an error box.
void RunHandler(UserInterface& ui, const std::function<void()>& handler);
}  // namespace register_dialog

class AdozokTorzsDialog : public QDialog {
  Q_OBJECT
 public:
  AdozokTorzsDialog(TSQLiteDatabase& db, QWidget* parent = nullptr);
  TAdozokTorzsForm& Form() { return form_; }

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Run(const std::function<void()>& handler);
  void WriteBack();
  void Render();

  QtUserInterface ui_;
  TAdozokTorzsForm form_;
  QLineEdit *AdoszamEd, *NevEd, *BankEd, *SzamlaEd, *SearchAdozoEd;
  QListWidget* AdozokLbx;
};

}  // namespace krinu
