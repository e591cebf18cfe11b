#pragma once
// The administrator register window ("Ügyintézők karbantartása"): renders
// TUgyintezokTorzsForm's state and forwards the user's clicks and keys to its handlers.

#include <QDialog>
#include <functional>

#include "gui/qt_user_interface.h"
#include "masterdata/ugyintezok_torzs_form.h"

class QLineEdit;
class QListWidget;

namespace krinu {

// Shows the administrator register modally over parent; returns when it closes.
void ShowUgyintezokTorzs(QWidget* parent, TSQLiteDatabase& db);

class UgyintezokTorzsDialog : public QDialog {
  Q_OBJECT
 public:
  UgyintezokTorzsDialog(TSQLiteDatabase& db, QWidget* parent = nullptr);
  TUgyintezokTorzsForm& Form() { return form_; }

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Run(const std::function<void()>& handler);
  void WriteBack();
  void Render();

  QtUserInterface ui_;
  TUgyintezokTorzsForm form_;
  QLineEdit *NevEd, *TelefonEd, *AzonositoEd, *SearchUgyintezoEd;
  QListWidget* UgyintezokLbx;
};

}  // namespace krinu
