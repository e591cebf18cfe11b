#pragma once
// Toolkit-free state of the controls the workflow reads or writes. The windows render
// these and write user edits back before a handler runs.

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

namespace krinu {

struct Control {
  bool Enabled = true;
};

struct TextControl : Control {
  QString Text;
};

// A label, caption-carrying button or panel title; Enabled follows its panel.
struct CaptionControl : Control {
  QString Caption;
};

struct CheckControl : Control {
  QString Caption;
  bool Checked = false;
};

struct ComboControl : Control {
  QStringList Items;
  int ItemIndex = -1;
  QString CurrentText() const {
    return ItemIndex >= 0 && ItemIndex < Items.size() ? Items[ItemIndex] : QString();
  }
};

struct ListControl : Control {
  QStringList Items;
  int ItemIndex = -1;
};

struct DateControl : Control {
  QDate Date;
};

// A check button that shows a help glyph until a check marks it passed or failed.
enum class CheckMark { Help, Passed, Failed };
struct CheckButtonControl : Control {
  QString Caption;
  CheckMark Mark = CheckMark::Help;
};

// The preview grid: row 0 is the fixed header row when FixedRows is 1.
struct GridControl : Control {
  int RowCount = 1;
  int ColCount = 1;
  int FixedRows = 0;
  QVector<QStringList> Cells{QStringList{QString()}};  // Cells[row][col]
  QVector<int> ColWidths;                              // in characters
  void Resize(int rows, int cols) {
    RowCount = rows;
    ColCount = cols;
    Cells = QVector<QStringList>(rows, QStringList(QVector<QString>(cols)));
    ColWidths = QVector<int>(cols, 0);
  }
};

// A multi-line memo; lines are never removed while the program runs.
struct MemoControl : Control {
  QStringList Lines;
  void Append(const QString& line) { Lines.append(line); }
};

}  // namespace krinu
