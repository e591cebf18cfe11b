#include "content/content_check.h"

#include <cmath>
#include <utility>
#include <vector>

#include "content/recognisers.h"

namespace krinu {

namespace {

QString Cell(const TPreviewGrid& grid, int row, int col) {
  if (row < 0 || row >= grid.Cells.size()) return {};
  const QStringList& cells = grid.Cells[row];
  return col >= 0 && col < cells.size() ? cells[col] : QString();
}

// The failing cell nearer the top, the left one of a row; one that blames no row first.
void KeepEarlier(std::optional<TCheckFailure>& kept, const TCheckFailure& other) {
  if (!kept || std::pair(other.Row, other.GridCol) < std::pair(kept->Row, kept->GridCol))
    kept = other;
}

CheckMark MarkOf(bool passed) {
  return passed ? CheckMark::Passed : CheckMark::Failed;
}

}  // namespace

TDecSeps DecSepsOf(int decSepIndex) {
  if (decSepIndex == 1) return {QChar(u'.'), QChar(u',')};
  return {QChar(u','), QChar(u'.')};
}

TContentCheck CheckInputDataContent(const TPreviewGrid& grid, bool header,
                                    const TColumnSelection& columns, const QString& dateFormat,
                                    int decSepIndex) {
  TContentCheck check;
  const int first = header ? 1 : 0;
  const int last = std::min<int>(grid.RowCount, int(grid.Cells.size())) - 1;
  const auto& item = columns.Item;
  const auto cellFailure = [&](TDataColumn column, TCheckFault fault, int row) {
    const int col = item[column] - 1;
    return TCheckFailure{column, fault, row, col, Cell(grid, row, col), QString()};
  };

  if (item[dcAdoszam] != 0) {
    PcreRegex& re = SharedRegex();
    re.SetPattern(QString::fromUtf16(AdoszamPattern));
    for (int r = first; r <= last && !check.AdoszamFailure; ++r)
      if (!re.Match(TrimText(Cell(grid, r, item[dcAdoszam] - 1))))
        check.AdoszamFailure = cellFailure(dcAdoszam, TCheckFault::NotAdoszam, r);
    check.Passed[dcAdoszam] = !check.AdoszamFailure;
    check.AdoszamMark = MarkOf(check.Passed[dcAdoszam]);
  }

  check.Passed[dcMegnevezes] = item[dcMegnevezes] != 0;

  if (item[dcDatum] != 0) {
    const TDatumFormat format(dateFormat);
    for (int r = first; r <= last && !check.DatumFailure; ++r)
      if (!format.Convert(TrimText(Cell(grid, r, item[dcDatum] - 1)))) {
        // With no format at all no row is to blame.
        check.DatumFailure = dateFormat.isEmpty()
                                 ? TCheckFailure{dcDatum,   TCheckFault::NoDateFormat,
                                                 -1,        item[dcDatum] - 1,
                                                 QString(), QString()}
                                 : cellFailure(dcDatum, TCheckFault::NotDatum, r);
        check.DatumFailure->Detail = dateFormat;
      }
    check.Passed[dcDatum] = !check.DatumFailure;
    check.DatumMark = MarkOf(check.Passed[dcDatum]);
  }

  check.Passed[dcBizSzam] = item[dcBizSzam] != 0;

  if (item[dcAFAAlap] != 0 && item[dcAFA] != 0) {
    const TDecSeps seps = DecSepsOf(decSepIndex);
    InputFormatSettings().DecimalSeparator = seps.Decimal;
    InputFormatSettings().ThousandSeparator = seps.Thousand;
    // The first row that does not convert, or -1; values gets the converted ones.
    auto convertColumn = [&](int col, std::vector<double>& values) {
      for (int r = first; r <= last; ++r) {
        const std::optional<double> v =
            ConvertOsszeg(Cell(grid, r, col), seps.Decimal, seps.Thousand);
        if (!v) return r;
        values.push_back(*v);
      }
      return -1;
    };
    std::vector<double> net;
    std::vector<double> vat;
    const int netFailed = convertColumn(item[dcAFAAlap] - 1, net);
    const int vatFailed = convertColumn(item[dcAFA] - 1, vat);
    bool netPassed = netFailed < 0;
    bool vatPassed = vatFailed < 0;
    if (netPassed && vatPassed) {
      for (size_t i = 0; i < net.size(); ++i) {
        if (VatAboveHalf(net[i], vat[i])) {
          netPassed = vatPassed = false;
          check.OsszegFailure = cellFailure(dcAFA, TCheckFault::VatAboveHalf, first + int(i));
          check.OsszegFailure->Detail = Cell(grid, first + int(i), item[dcAFAAlap] - 1);
          break;
        }
      }
    } else {
      if (!netPassed)
        check.OsszegFailure = cellFailure(dcAFAAlap, TCheckFault::NotOsszeg, netFailed);
      if (!vatPassed)
        KeepEarlier(check.OsszegFailure, cellFailure(dcAFA, TCheckFault::NotOsszeg, vatFailed));
    }
    check.Passed[dcAFAAlap] = netPassed;
    check.Passed[dcAFA] = vatPassed;
    check.OsszegMark = MarkOf(netPassed && vatPassed);
  }

  check.Result = true;
  for (bool passed : check.Passed) check.Result = check.Result && passed;

  for (int c = dcAdoszam; c <= dcAFA && !check.FirstFailure; ++c)
    if (item[c] == 0) {
      check.FirstFailure = TCheckFailure();
      check.FirstFailure->Column = TDataColumn(c);
    }
  if (!check.FirstFailure)
    for (const auto* f : {&check.AdoszamFailure, &check.DatumFailure, &check.OsszegFailure})
      if (*f) KeepEarlier(check.FirstFailure, **f);
  return check;
}

QString CheckFailureReason(const TCheckFailure& failure) {
  const QString value = QStringLiteral("„") + failure.Value + QStringLiteral("”");
  switch (failure.Fault) {
    case TCheckFault::NoColumn:
      return QStringLiteral("nincs oszlop kijelölve");
    case TCheckFault::NotAdoszam:
      return value + QStringLiteral(" nem adószám");
    case TCheckFault::NoDateFormat:
      return QStringLiteral("nincs megadva a dátum formátuma");
    case TCheckFault::NotDatum:
      return value + QStringLiteral(" nem dátum a(z) „") + failure.Detail +
             QStringLiteral("” formátum szerint");
    case TCheckFault::NotOsszeg:
      return value + QStringLiteral(" nem összeg");
    case TCheckFault::VatAboveHalf:
      return QStringLiteral("az ÁFA (") + failure.Value +
             QStringLiteral(") nagyobb, mint a nettó érték (") + failure.Detail +
             QStringLiteral(") fele");
  }
  return {};
}

QString CheckFailureText(const TCheckFailure& failure, const TPreviewGrid& grid,
                         const std::array<QString, 6>& names) {
  const QString& name = names[failure.Column];
  if (failure.GridCol < 0 || failure.Row < 0) {
    return name + QStringLiteral(": ") + CheckFailureReason(failure);
  }
  // The grid numbers its data rows from 1 below the header row it shows.
  const QString row =
      failure.Row < grid.FixedRows
          ? QStringLiteral("az előnézet fejsora")
          : QStringLiteral("az előnézet %1. sora").arg(failure.Row - grid.FixedRows + 1);
  return row + QStringLiteral(", %1. oszlop (").arg(failure.GridCol + 1) + name +
         QStringLiteral("): ") + CheckFailureReason(failure);
}

QString ContentCheckFailureMessage(const QString& tartalomPanelTitle,
                                   const QString& contentCheckBtn) {
  return QStringLiteral(
             "Az aktuális adat-összerendelés alapján végzett tartalom-ellenőrzés megbukott\n"
             "kérem igazítson az adat-összerendeléseken az \"") +
         tartalomPanelTitle + QStringLiteral("\" panelon\nmajd nyomja meg a \"") + contentCheckBtn +
         QStringLiteral("\" gombot");
}

}  // namespace krinu
