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

// Why the check refused a column.
enum class TCheckFault { NoColumn, NotAdoszam, NoDateFormat, NotDatum, NotOsszeg, VatAboveHalf };

// Where the check failed first for one column, and why.
struct TCheckFailure {
  TDataColumn Column = dcAdoszam;
  TCheckFault Fault = TCheckFault::NoColumn;
  int Row = -1;      // the grid row (row 0 is the header row when there is one); -1: no cell
  int GridCol = -1;  // the grid column; -1 when no column is assigned
  QString Value;     // the cell as it stands in the grid
  QString Detail;    // the date format, or the net amount beside a VAT that is too large
  bool operator==(const TCheckFailure&) const = default;
};

struct TContentCheck {
  std::array<bool, 6> Passed{};  // per TDataColumn
  // The three check buttons; nullopt leaves the mark as it is (the column is not assigned).
  std::optional<CheckMark> AdoszamMark;
  std::optional<CheckMark> DatumMark;
  std::optional<CheckMark> OsszegMark;
  // What each failed mark stands for: its first failing cell, from the top.
  std::optional<TCheckFailure> AdoszamFailure;
  std::optional<TCheckFailure> DatumFailure;
  std::optional<TCheckFailure> OsszegFailure;
  // The one the user is told first: an unassigned column (in data-column order), else the
  // failing cell nearest the top, the left one of a row.
  std::optional<TCheckFailure> FirstFailure;
  bool Result = false;  // all six passed
};

// The data rows of the grid (from row 1 with a header row) against the selection, the
// date format of DateFormEd and the decimal separator of DecSepCbx.
[[nodiscard]] TContentCheck CheckInputDataContent(const TPreviewGrid& grid, bool header,
                                                  const TColumnSelection& columns,
                                                  const QString& dateFormat, int decSepIndex);

// "az előnézet 2. sora, 3. oszlop (Bizonylat dátuma): „13.04.2024” nem dátum …": where the
// check failed, as the user finds it in the grid (data rows numbered from 1 as the grid
// numbers them) and why; names are the captions of the six column labels.
QString CheckFailureText(const TCheckFailure& failure, const TPreviewGrid& grid,
                         const std::array<QString, 6>& names);
// Only why, for the marked cell itself: "„13.04.2024” nem dátum …".
QString CheckFailureReason(const TCheckFailure& failure);

// The error box of a failed check; the captions of TartalomPanelTitle and ContentCheckBtn.
QString ContentCheckFailureMessage(const QString& tartalomPanelTitle,
                                   const QString& contentCheckBtn);

}  // namespace krinu
