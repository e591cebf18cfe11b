#pragma once
// A document to print on A4 pages: rich text before and after one long table, which is laid
// out row by row (its header repeated on every page), so that tens of thousands of rows
// print in a moment.

#include <QString>
#include <QStringList>
#include <vector>

namespace krinu {

struct TPrintColumn {
  QString Caption;
  int Percent = 10;     // of the page's width
  bool Number = false;  // right-aligned, never broken across lines
};

struct TPrintDocument {
  QString Title;   // the PDF's title
  QString Before;  // HTML above the table
  QString TableTitle;
  std::vector<TPrintColumn> Columns;
  std::vector<QStringList> Rows;
  bool LastRowBold = false;  // a total row
  QString After;             // HTML below the table
};

}  // namespace krinu
