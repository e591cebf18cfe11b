#pragma once
// The return as data: the taxpayer and administrator, the period, the form year and its
// layout, one sheet per partner in sheet order with its rows, pages and totals as written,
// and the counts of the run that prepared the lines. The XML writer renders it; a summary,
// a printed copy or a table of many returns read the same value.

#include <QString>
#include <QStringList>
#include <cmath>
#include <limits>
#include <vector>

#include "common/records.h"
#include "content/afa_adat.h"
#include "declaration/form_frame.h"
#include "declaration/year_layout.h"

namespace krinu {

inline constexpr int kRowsPerPage = 36;

// An amount in forints written in units of `unit` forints: halves rounded away from zero (add
// or subtract one half, drop the fraction; std::round differs just below a half), values
// beyond the 64-bit range clamped to it.
[[nodiscard]] inline qint64 WrittenAmount(double amount, double unit) {
  const double value = amount / unit;
  const double rounded = std::trunc(value < 0 ? value - 0.5 : value + 0.5);
  if (std::isnan(rounded)) return 0;
  if (rounded >= 9223372036854775808.0) return std::numeric_limits<qint64>::max();
  if (rounded < -9223372036854775808.0) return std::numeric_limits<qint64>::min();
  return qint64(rounded);
}

// What the preparation of the lines did.
struct TReturnCounts {
  int Combinations = 0;      // invoices whose lines were combined into one
  qint64 CombinedLines = 0;  // the lines that went into those combined lines
  int NegativeLines = 0;     // excluded as negative
  int ZeroLines = 0;         // excluded as zero
  qint64 IncludedLines = 0;  // written as rows
  qint64 OutsidePeriod = 0;  // of those, dated outside the period
};

struct TPartnerSheet {
  QString Adoszam;     // the partner's tax number as its lines carry it
  QString Azonosito;   // the part written as the partner's number: its first 8 characters
  QString Megnevezes;  // the name of the partner's first entry, included or not
  // The partner's entries in the prepared lines, [First, End); disabled ones take no row.
  std::size_t First = 0;
  std::size_t End = 0;
  qint64 RowCount = 0;
  int Pages = 1;  // pages of rows; the totals stand on the last one
  // Totals as written: the sums of the rows' written amounts.
  qint64 SumAlap = 0;
  qint64 SumAfa = 0;
  // The same in forints, before any rounding.
  double SumAlapFt = 0;
  double SumAfaFt = 0;
};

// One row of a partner sheet.
struct TReturnRow {
  const TAFAAdat& Line;
  int Page;     // from 1
  int Row;      // on its page, 1 to kRowsPerPage
  qint64 Alap;  // as written
  qint64 Afa;
};

struct TReturn {
  TAdozoAdat Taxpayer;
  TUgyintezoAdat Administrator;
  TDeclarationParams Params;
  const TYearLayout* Layout = &YearLayout(0);
  std::vector<TPartnerSheet> Sheets;
  TReturnCounts Counts;
  // The prepared lines the rows are read from; not owned: the job that ran keeps them as
  // the run left them for as long as it keeps this return.
  const TAFAAdatList* Lines = nullptr;

  // An amount in forints as this return writes it.
  [[nodiscard]] qint64 Written(double amount) const {
    return WrittenAmount(amount, Layout->AmountUnit);
  }

  // The sheet's rows in order.
  template <class F>
  void ForEachRow(const TPartnerSheet& sheet, F&& f) const {
    int page = 1;
    int row = 1;
    for (std::size_t i = sheet.First; i < sheet.End; ++i) {
      // The invoice numbers are written: asked for a few rows ahead.
      if (i + 8 < Lines->size()) (*Lines)[i + 8].BizSzam.Prefetch();
      const TAFAAdat& line = (*Lines)[i];
      if (!line.Enabled) continue;
      if (row > kRowsPerPage) {
        ++page;
        row = 1;
      }
      f(TReturnRow{line, page, row, Written(line.AFAAlap), Written(line.AFA)});
      ++row;
    }
  }
};

// A row's amount as written: in the layout's unit, halves rounded away from zero. Values
// beyond the 64-bit range are clamped to it.
[[nodiscard]] qint64 ConvertAmount(double amount, int formYear);

// Index of the first entry with this key in the list sorted by key, or list.size().
[[nodiscard]] std::size_t FirstEntryOf(const TAFAAdatList& list, QStringView key);

// The return of the prepared lines: one sheet per entry of partnerList that has lines, in
// that order. The lines must outlive the return.
[[nodiscard]] TReturn BuildReturn(const TAdozoAdat& taxpayer, const TUgyintezoAdat& administrator,
                                  const TDeclarationParams& params, const TAFAAdatList& lines,
                                  const QStringList& partnerList, const TReturnCounts& counts = {});

}  // namespace krinu
