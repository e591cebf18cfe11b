#include "declaration/partner_sheet.h"

#include <algorithm>
#include <charconv>
#include <cstring>

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

QString First8(const TLineText& adoszam) {
  return adoszam.Visit([](auto view) { return view.left(8).toString(); });
}

}  // namespace

void AddPageHeader(TXmlDocument& doc, std::string_view kind, int page, const TReturn& r,
                   const TAFAAdat& currentLine) {
  TFieldCode base;
  base.Add(kind).Add4(page);
  doc.FieldNumber(base.With("B001A").View(), page);
  doc.Field(base.With("B002A").View(), r.Taxpayer.Adoszam);
  doc.FieldDate(base.With("B004A").View(), r.Params.PeriodStart);
  doc.FieldDate(base.With("B005A").View(), r.Params.PeriodEnd);
  if (r.Layout->PageHeaderNames) {
    doc.Field(base.With("B006A").View(), r.Taxpayer.Nev);
    doc.Field(base.With("B007A").View(), First8(currentLine.Adoszam));
    doc.Field(base.With("B009A").View(), currentLine.Megnevezes);
  }
}

void AddPartnerSheet(TXmlDocument& doc, const TReturn& r, const TPartnerSheet& sheet) {
  const TAFAAdatList& lines = *r.Lines;
  const TYearLayout& layout = *r.Layout;
  // The sheet is named after the partner's first entry, included or not.
  const TAFAAdat& first = lines[sheet.First];

  AddSheetHead(doc, r.Taxpayer, r.Params, "65M");
  doc.Line(6, "<albizonylatazonositas>");
  doc.Blanks(8).Raw("<megnevezes>").Text(sheet.Megnevezes).Raw("</megnevezes>").EndLine();
  doc.Blanks(8).Raw("<azonosito>").Text(sheet.Azonosito).Raw("</azonosito>").EndLine();
  doc.Line(6, "</albizonylatazonositas>");
  AddSheetPeriod(doc, r.Params);

  doc.Field("0A0001C001A", r.Taxpayer.Adoszam);
  doc.Field(layout.PartnerTaxpayerName, r.Taxpayer.Nev);
  doc.Field(layout.PartnerNumber, sheet.Azonosito);
  doc.Field(layout.PartnerName, sheet.Megnevezes);
  doc.FieldDate("0A0001D001A", r.Params.PeriodStart);
  doc.FieldDate("0A0001D002A", r.Params.PeriodEnd);

  AddPageHeader(doc, "0B", 1, r, first);
  r.ForEachRow(sheet, [&](const TReturnRow& row) {
    // A later page's header names the line that opens it.
    if (row.Row == 1 && row.Page > 1) AddPageHeader(doc, "0B", row.Page, r, row.Line);
    // The row's four field lines at once, as Field() would write them: they differ only in
    // the code's suffix and the value.
    TFieldCode start;
    start.Add("      <mezo eazon=\"0B").Add4(row.Page).Add("C").Add4(row.Row);
    const std::string_view head = start.View();
    const TLineText& number = row.Line.BizSzam;
    const std::string_view date = doc.DateText(row.Line.Datum);
    constexpr std::string_view kEnd = "</mezo>\r\n";
    char* p = doc.Area(4 * qsizetype(head.size() + 4 + kEnd.size()) +
                       TXmlDocument::TextRoom(number) + qsizetype(date.size()) + 2 * 20);
    p = TXmlDocument::PutRaw(TXmlDocument::PutRaw(p, head), "AA\">");
    p = TXmlDocument::PutRaw(TXmlDocument::PutText(p, number), kEnd);
    p = TXmlDocument::PutRaw(TXmlDocument::PutRaw(p, head), "BA\">");
    p = TXmlDocument::PutRaw(TXmlDocument::PutRaw(p, date), kEnd);
    p = TXmlDocument::PutRaw(TXmlDocument::PutRaw(p, head), "CA\">");
    p = TXmlDocument::PutRaw(TXmlDocument::PutNumber(p, row.Alap), kEnd);
    p = TXmlDocument::PutRaw(TXmlDocument::PutRaw(p, head), "DA\">");
    p = TXmlDocument::PutRaw(TXmlDocument::PutNumber(p, row.Afa), kEnd);
    doc.Advance(p, 4);
  });

  TFieldCode totals;
  totals.Add("0B").Add4(sheet.Pages).Add("C0037");
  doc.FieldNumber(totals.With("CA").View(), sheet.SumAlap);
  doc.FieldNumber(totals.With("DA").View(), sheet.SumAfa);
  doc.Line(0, "<!-- 1965M fedlap összesítő adatok -->");
  doc.FieldNumber("0A0001E0004BA", sheet.RowCount);
  doc.FieldNumber("0A0001E0004CA", sheet.SumAlap);
  doc.FieldNumber("0A0001E0004DA", sheet.SumAfa);
  doc.FieldNumber("0A0001E0007BA", sheet.RowCount);
  doc.FieldNumber("0A0001E0007CA", sheet.SumAlap);
  doc.FieldNumber("0A0001E0007DA", sheet.SumAfa);
  // The cover page takes its names from the last entry the walk visited.
  AddPageHeader(doc, "0C", 1, r, lines[sheet.End - 1]);
  AddSheetEnd(doc);
}

}  // namespace krinu
