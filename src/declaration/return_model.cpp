#include "declaration/return_model.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace krinu {

namespace {

qint64 SaturatingAdd(qint64 a, qint64 b) {
  qint64 sum;
  if (!__builtin_add_overflow(a, b, &sum)) return sum;
  return b < 0 ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
}

}  // namespace

qint64 ConvertAmount(double amount, int formYear) {
  return WrittenAmount(amount, YearLayout(formYear).AmountUnit);
}

std::size_t FirstEntryOf(const TAFAAdatList& list, QStringView key) {
  const auto it =
      std::lower_bound(list.begin(), list.end(), key,
                       [](const TAFAAdat& line, QStringView k) { return line.Adoszam < k; });
  if (it == list.end() || it->Adoszam != key) return list.size();
  return std::size_t(it - list.begin());
}

TReturn BuildReturn(const TAdozoAdat& taxpayer, const TUgyintezoAdat& administrator,
                    const TDeclarationParams& params, const TAFAAdatList& lines,
                    const QStringList& partnerList, const TReturnCounts& counts) {
  TReturn r;
  r.Taxpayer = taxpayer;
  r.Administrator = administrator;
  r.Params = params;
  r.Layout = &YearLayout(params.FormYear);
  r.Counts = counts;
  r.Lines = &lines;
  r.Sheets.reserve(std::size_t(partnerList.size()));
  for (const QString& partner : partnerList) {
    const std::size_t first = FirstEntryOf(lines, partner);
    if (first == lines.size()) continue;
    TPartnerSheet sheet;
    sheet.Adoszam = partner;
    sheet.Azonosito = lines[first].Adoszam.ToString().left(8);
    sheet.Megnevezes = lines[first].Megnevezes.ToString();
    sheet.First = first;
    sheet.End = first;
    // The key compared exactly, character by character, as the sheet's walk does; the load
    // shares one text among the lines of a partner, which settles most lines at once.
    const TLineText& key = lines[first].Adoszam;
    while (sheet.End < lines.size() && lines[sheet.End].Adoszam == key) ++sheet.End;
    for (std::size_t i = first; i < sheet.End; ++i) {
      const TAFAAdat& line = lines[i];
      if (!line.Enabled) continue;
      ++sheet.RowCount;
      sheet.SumAlap = SaturatingAdd(sheet.SumAlap, r.Written(line.AFAAlap));
      sheet.SumAfa = SaturatingAdd(sheet.SumAfa, r.Written(line.AFA));
      sheet.SumAlapFt += line.AFAAlap;
      sheet.SumAfaFt += line.AFA;
    }
    sheet.Pages = sheet.RowCount == 0 ? 1 : int((sheet.RowCount - 1) / kRowsPerPage + 1);
    r.Sheets.push_back(std::move(sheet));
  }
  return r;
}

}  // namespace krinu
