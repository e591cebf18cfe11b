#include "content/content_check.h"

#include <cmath>
#include <vector>

#include "content/recognisers.h"

namespace krinu {

namespace {

QString Cell(const TPreviewGrid& grid, int row, int col) {
  if (row < 0 || row >= grid.Cells.size()) return {};
  const QStringList& cells = grid.Cells[row];
  return col >= 0 && col < cells.size() ? cells[col] : QString();
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

  if (item[dcAdoszam] != 0) {
    PcreRegex& re = SharedRegex();
    re.SetPattern(QString::fromUtf16(AdoszamPattern));
    bool passed = true;
    for (int r = first; r <= last && passed; ++r)
      passed = re.Match(TrimText(Cell(grid, r, item[dcAdoszam] - 1)));
    check.Passed[dcAdoszam] = passed;
    check.AdoszamMark = MarkOf(passed);
  }

  check.Passed[dcMegnevezes] = item[dcMegnevezes] != 0;

  if (item[dcDatum] != 0) {
    const TDatumFormat format(dateFormat);
    bool passed = true;
    for (int r = first; r <= last && passed; ++r)
      passed = format.Convert(TrimText(Cell(grid, r, item[dcDatum] - 1))).has_value();
    check.Passed[dcDatum] = passed;
    check.DatumMark = MarkOf(passed);
  }

  check.Passed[dcBizSzam] = item[dcBizSzam] != 0;

  if (item[dcAFAAlap] != 0 && item[dcAFA] != 0) {
    const TDecSeps seps = DecSepsOf(decSepIndex);
    InputFormatSettings().DecimalSeparator = seps.Decimal;
    InputFormatSettings().ThousandSeparator = seps.Thousand;
    auto convertColumn = [&](int col, std::vector<double>& values) {
      for (int r = first; r <= last; ++r) {
        const std::optional<double> v =
            ConvertOsszeg(Cell(grid, r, col), seps.Decimal, seps.Thousand);
        if (!v) return false;
        values.push_back(*v);
      }
      return true;
    };
    std::vector<double> net;
    std::vector<double> vat;
    bool netPassed = convertColumn(item[dcAFAAlap] - 1, net);
    bool vatPassed = convertColumn(item[dcAFA] - 1, vat);
    if (netPassed && vatPassed) {
      for (size_t i = 0; i < net.size(); ++i) {
        if (VatAboveHalf(net[i], vat[i])) {
          netPassed = vatPassed = false;
          break;
        }
      }
    }
    check.Passed[dcAFAAlap] = netPassed;
    check.Passed[dcAFA] = vatPassed;
    check.OsszegMark = MarkOf(netPassed && vatPassed);
  }

  check.Result = true;
  for (bool passed : check.Passed) check.Result = check.Result && passed;
  return check;
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
