#pragma once
// The check of a column assignment on the preview rows, before the whole file is loaded.

#include <QString>
#include <array>
#include <optional>

#include "common/check_mark.h"
#include "common/preview_grid.h"
#include "content/column_assignment.h"

namespace krinu {

// DecSepCbx's item index to the two separators; anything but "Pont" (1), no selection
// included, reads as "Vessző".
struct TDecSeps {
  QChar Decimal;
  QChar Thousand;
};
TDecSeps DecSepsOf(int decSepIndex);

struct TContentCheck {
  std::array<bool, 6> Passed{};  // per TDataColumn
  // The three check buttons; nullopt leaves the mark as it is (the column is not assigned).
  std::optional<CheckMark> AdoszamMark;
  std::optional<CheckMark> DatumMark;
  std::optional<CheckMark> OsszegMark;
  bool Result = false;  // all six passed
};

// The data rows of the grid (from row 1 with a header row) against the selection, the
// date format of DateFormEd and the decimal separator of DecSepCbx.
[[nodiscard]] TContentCheck CheckInputDataContent(const TPreviewGrid& grid, bool header,
                                                  const TColumnSelection& columns,
                                                  const QString& dateFormat, int decSepIndex);

// The error box of a failed check; the captions of TartalomPanelTitle and ContentCheckBtn.
QString ContentCheckFailureMessage(const QString& tartalomPanelTitle,
                                   const QString& contentCheckBtn);

}  // namespace krinu
