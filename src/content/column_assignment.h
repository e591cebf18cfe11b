#pragma once
// Which field of a record holds each of the six data items of an invoice line: from the
// header texts when the file has a header row, else from the look of the preview values.

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

#include "common/header_masks.h"
#include "common/preview_grid.h"

namespace krinu {

// Positions in TColumnSelection::Item and in THeaderMasks.
enum TDataColumn : int {
  dcAdoszam = 0,
  dcMegnevezes,
  dcDatum,
  dcBizSzam,
  dcAFAAlap,
  dcAFA,
};

// The item index of each column combo: 0 = not assigned, k = the k-th field of a record.
struct TColumnSelection {
  std::array<int, 6> Item{};
  bool Complete() const;
  bool operator==(const TColumnSelection&) const = default;
};

inline const QString& KeremJeloljeKi() {
  static const QString text = QStringLiteral("Kérem, jelölje ki");
  return text;
}

// The items of every column combo: "Kérem, jelölje ki", then the row-0 cell of each column.
QStringList ColumnComboItems(const TPreviewGrid& grid);

// The columns already assigned in one automatic assignment, as "-0000--0012-".
class TUsedCols {
 public:
  void Add(int col);
  bool Contains(int col) const;
  const QString& Text() const { return text_; }
  void Clear() { text_.clear(); }

 private:
  QString text_;
};

struct THdrMskSearchResult {
  qint32 ColSeq = 0;      // 0-based column
  qint32 MatchCount = 0;  // search masks found in its header
};

// The columns whose header holds at least one search mask and no exclusion mask, sorted by
// MatchCount ascending (the tie order of the sort is part of the result).
std::vector<THdrMskSearchResult> SearchHdrMasks(const QStringList& masks, const TPreviewGrid& grid);

// The free column with the most matching masks as item index (column + 1), added to
// usedCols; 0 when there is none.
int PickHdrCol(const QStringList& masks, const TPreviewGrid& grid, TUsedCols& usedCols);

// Content searches over all preview rows (the file has no header row): the first free
// column, from the left, that passes the test, or -1.
int FindAdoszamCol(const TPreviewGrid& grid, const TUsedCols& usedCols);
struct TDatumColFound {
  int Col = -1;
  QString Format;
};
TDatumColFound FindDatumCol(const TPreviewGrid& grid, const TUsedCols& usedCols);
struct TOsszegColFound {
  int Col = -1;
  QChar DecSep;
  double LastValue = 0;  // the value of the last preview row
};
TOsszegColFound FindOsszegCol(const TPreviewGrid& grid, const TUsedCols& usedCols);
int FindMegnevezesCol(const TPreviewGrid& grid, const TUsedCols& usedCols);
int FindBizSzamCol(const TPreviewGrid& grid, const TUsedCols& usedCols);

// The number conversion the amount search applies to the rows after row 0: sign, digits,
// at most one decimal separator, an optional exponent; nothing else.
std::optional<double> PlatformTextToFloat(const QString& text, QChar decSep);

struct TAssignment {
  TColumnSelection Columns;
  std::optional<QString> DateFormat;  // for DateFormEd, when a date column was found
  std::optional<int> DecSepIndex;     // for DecSepCbx (0 "Vessző", 1 "Pont"), when amounts were
  bool Complete() const { return Columns.Complete(); }
};

// The whole automatic assignment over the preview grid.
[[nodiscard]] TAssignment AssignColumns(const TPreviewGrid& grid, const THeaderMasks& masks,
                                        bool header);

// The captions the identification failure message quotes, read from the controls.
struct TIdentificationCaptions {
  QString SzerkezetPanelTitle;
  QString HeaderCbx;
  QString Label5;
  QString SzerkezetCheckBtn;
  QString TartalomPanelTitle;
  QString Label22;
  QString ContentCheckBtn;
};

// Shown when at least one column stays unassigned; lines separated by "\n".
QString IdentificationFailureMessage(const TIdentificationCaptions& captions);

}  // namespace krinu
