#pragma once
// A date field that takes a date typed with its separators ("2024.03.05", "2024. 03. 05.",
// "2024-03-05") as that date. The plain field moves to the next part by itself once a part
// is complete, and then takes the typed separator as a further move: the month was skipped
// and the day landed in it.

#include <QDateEdit>

namespace krinu {

class TDateField : public QDateEdit {
 public:
  using QDateEdit::QDateEdit;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  bool advanced_ = false;  // the last digit completed a part and moved on to the next
};

}  // namespace krinu
