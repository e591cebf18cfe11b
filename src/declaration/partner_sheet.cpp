#include "declaration/partner_sheet.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace krinu {

namespace {

// A field code built from its parts: "0B" + page + "C" + row + "AA" and the like.
class TFieldCode {
 public:
  TFieldCode& Add(std::string_view part) {
    const std::size_t length = std::min(part.size(), sizeof buf_ - size_);  // codes are short
    std::memcpy(buf_ + size_, part.data(), length);
    size_ += length;
    return *this;
  }
  // Four digits with leading zeros (more when the number needs them).
  TFieldCode& Add4(int number) {
    char digits[16];
    const auto length = std::size_t(std::to_chars(digits, digits + 16, number).ptr - digits);
    for (std::size_t i = length; i < 4; ++i) Add("0");
    return Add(std::string_view(digits, length));
  }
  // This code followed by the suffix.
  [[nodiscard]] TFieldCode With(std::string_view suffix) const {
    TFieldCode code = *this;
    code.Add(suffix);
    return code;
  }
  [[nodiscard]] std::string_view View() const { return std::string_view(buf_, size_); }

 private:
  char buf_[48];
  std::size_t size_ = 0;
};

qint64 SaturatingAdd(qint64 a, qint64 b) {
  qint64 sum;
  if (!__builtin_add_overflow(a, b, &sum)) return sum;
  return b < 0 ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
}

QStringView First8(const QString& adoszam) {
  return QStringView(adoszam).left(8);
}

}  // namespace

qint64 ConvertAmount(double amount, int formYear) {
  const double value = formYear <= 24 ? amount / 1000 : amount;
  // Half away from zero by adding or subtracting one half and dropping the fraction;
  // std::round differs for values just below a half.
  const double rounded = std::trunc(value < 0 ? value - 0.5 : value + 0.5);
  if (std::isnan(rounded)) return 0;
  if (rounded >= 9223372036854775808.0) return std::numeric_limits<qint64>::max();
  if (rounded < -9223372036854775808.0) return std::numeric_limits<qint64>::min();
  return qint64(rounded);
}

std::size_t FirstEntryOf(const TAFAAdatList& list, const QString& key) {
  const auto it =
      std::lower_bound(list.begin(), list.end(), key,
                       [](const TAFAAdat& line, const QString& k) { return line.Adoszam < k; });
  if (it == list.end() || it->Adoszam != key) return list.size();
  return std::size_t(it - list.begin());
}

void AddPageHeader(TXmlDocument& doc, std::string_view kind, int page, const TAdozoAdat& taxpayer,
                   const TDeclarationParams& params, const TAFAAdat& currentLine) {
  TFieldCode base;
  base.Add(kind).Add4(page);
  doc.FieldNumber(base.With("B001A").View(), page);
  doc.Field(base.With("B002A").View(), taxpayer.Adoszam);
  doc.FieldDate(base.With("B004A").View(), params.PeriodStart);
  doc.FieldDate(base.With("B005A").View(), params.PeriodEnd);
  if (params.FormYear <= 23) {
    doc.Field(base.With("B006A").View(), taxpayer.Nev);
    doc.Field(base.With("B007A").View(), First8(currentLine.Adoszam));
    doc.Field(base.With("B009A").View(), currentLine.Megnevezes);
  }
}

void AddPartnerSheet(const TAdozoAdat& taxpayer, TXmlDocument& doc, const QString& partner,
                     const TDeclarationParams& params, const TAFAAdatList& list) {
  const std::size_t first = FirstEntryOf(list, partner);
  if (first == list.size()) return;
  const int formYear = params.FormYear;
  // The sheet is named after the partner's first entry, included or not.
  const TAFAAdat* current = &list[first];

  AddSheetHead(doc, taxpayer, params, "65M");
  doc.Line(6, "<albizonylatazonositas>");
  doc.Blanks(8).Raw("<megnevezes>").Text(current->Megnevezes).Raw("</megnevezes>").EndLine();
  doc.Blanks(8).Raw("<azonosito>").Text(First8(current->Adoszam)).Raw("</azonosito>").EndLine();
  doc.Line(6, "</albizonylatazonositas>");
  AddSheetPeriod(doc, params);

  const bool upTo2020 = formYear <= 20;
  doc.Field("0A0001C001A", taxpayer.Adoszam);
  doc.Field(upTo2020 ? "0A0001C005A" : "0A0001C004A", taxpayer.Nev);
  doc.Field(upTo2020 ? "0A0001C006A" : "0A0001C005A", First8(current->Adoszam));
  doc.Field(upTo2020 ? "0A0001C008A" : "0A0001C006A", current->Megnevezes);
  doc.FieldDate("0A0001D001A", params.PeriodStart);
  doc.FieldDate("0A0001D002A", params.PeriodEnd);

  AddPageHeader(doc, "0B", 1, taxpayer, params, *current);
  int page = 1;
  int row = 1;
  qint64 rowCount = 0;
  qint64 sumAlap = 0;
  qint64 sumAfa = 0;
  for (std::size_t i = first; i < list.size() && list[i].Adoszam == partner; ++i) {
    current = &list[i];
    if (!current->Enabled) continue;
    if (row == 37) {
      ++page;
      row = 1;
      AddPageHeader(doc, "0B", page, taxpayer, params, *current);
    }
    TFieldCode rowCode;
    rowCode.Add("0B").Add4(page).Add("C").Add4(row);
    const qint64 alap = ConvertAmount(current->AFAAlap, formYear);
    const qint64 afa = ConvertAmount(current->AFA, formYear);
    doc.Field(rowCode.With("AA").View(), current->BizSzam);
    doc.FieldDate(rowCode.With("BA").View(), current->Datum);
    doc.FieldNumber(rowCode.With("CA").View(), alap);
    doc.FieldNumber(rowCode.With("DA").View(), afa);
    sumAlap = SaturatingAdd(sumAlap, alap);
    sumAfa = SaturatingAdd(sumAfa, afa);
    ++rowCount;
    ++row;
  }

  TFieldCode totals;
  totals.Add("0B").Add4(page).Add("C0037");
  doc.FieldNumber(totals.With("CA").View(), sumAlap);
  doc.FieldNumber(totals.With("DA").View(), sumAfa);
  doc.Line(0, "<!-- 1965M fedlap összesítő adatok -->");
  doc.FieldNumber("0A0001E0004BA", rowCount);
  doc.FieldNumber("0A0001E0004CA", sumAlap);
  doc.FieldNumber("0A0001E0004DA", sumAfa);
  doc.FieldNumber("0A0001E0007BA", rowCount);
  doc.FieldNumber("0A0001E0007CA", sumAlap);
  doc.FieldNumber("0A0001E0007DA", sumAfa);
  // The cover page takes its names from the last entry the walk visited.
  AddPageHeader(doc, "0C", 1, taxpayer, params, *current);
  AddSheetEnd(doc);
}

}  // namespace krinu
