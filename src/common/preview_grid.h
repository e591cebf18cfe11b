#pragma once
#include <QString>
#include <QStringList>
#include <QVector>

namespace krinu {

// The first rows of the input file as the structure check read them: row 0 is the header
// row when FixedRows is 1, otherwise the first record.
struct TPreviewGrid {
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
  bool operator==(const TPreviewGrid&) const = default;
};

}  // namespace krinu
