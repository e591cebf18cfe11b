#pragma once
// Toolkit-free state of the controls the workflow reads or writes. The windows render
// these and write user edits back before a handler runs.

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <vector>

#include "common/check_mark.h"
#include "common/preview_grid.h"

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
struct CheckButtonControl : Control {
  QString Caption;
  CheckMark Mark = CheckMark::Help;
  QString Hint;  // what the mark stands for beyond passed or failed (where a check failed)
};

// A cell of the preview grid shown as faulty, with the reason as its tooltip; Row and Col
// index Cells.
struct TCellMark {
  int Row = 0;
  int Col = 0;
  QString Hint;
  bool operator==(const TCellMark&) const = default;
};

// The preview grid: row 0 is the fixed header row when FixedRows is 1.
struct GridControl : Control, TPreviewGrid {
  QVector<TCellMark> Marks;
};

// A multi-line memo; lines are never removed while the program runs.
struct MemoControl : Control {
  QStringList Lines;
  void Append(const QString& line) { Lines.append(line); }
};

// A read-only table that may hold a million rows: the window asks for the texts of the cells
// it draws, so no widget or copy is made per cell. Rows stand in the order SortColumn and
// Descending name; a click on a column's header goes to the window's handler, which orders
// the rows and raises Revision so that the view is redrawn.
struct TableColumn {
  QString Caption;
  bool Number = false;      // right-aligned
  bool FixedPitch = false;  // data shown as it stands, its fields aligned
};
struct TableControl : Control {
  std::vector<TableColumn> Columns;
  qsizetype RowCount = 0;
  std::function<QString(qsizetype row, int column)> Cell;
  int SortColumn = -1;
  bool Descending = false;
  quint64 Revision = 0;
};

}  // namespace krinu
