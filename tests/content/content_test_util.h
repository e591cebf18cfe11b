#pragma once
// Preview grids and input files for the content tests.

#include <QString>
#include <QStringList>

#include "common/preview_grid.h"
#include "reader/input_file.h"
#include "support/test_env.h"

namespace krinu::test {

// Rows given as ";"-joined cells; row 0 is the header row when header is true.
inline TPreviewGrid Grid(const QStringList& rows, bool header) {
  TPreviewGrid grid;
  const int cols = rows.isEmpty() ? 1 : int(rows[0].split(u';').size());
  grid.Resize(int(rows.size()), cols);
  grid.FixedRows = header ? 1 : 0;
  for (int r = 0; r < rows.size(); ++r) {
    const QStringList cells = rows[r].split(u';');
    for (int c = 0; c < cols && c < cells.size(); ++c) grid.Cells[r][c] = cells[c];
  }
  return grid;
}

// A UTF-8 input file with ";" as separator.
inline TInputSettings InputFile(const QString& path, const QByteArray& text, bool header) {
  WriteFile(path, text);
  TInputSettings settings;
  settings.InputFileName = path;
  settings.InputCodePage = 65001;
  settings.InputSeparatorChar = u';';
  settings.HeaderPresent = header;
  settings.InputLineCount = int(text.count('\n')) + 1;
  return settings;
}

}  // namespace krinu::test
