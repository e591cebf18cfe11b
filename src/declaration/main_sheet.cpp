#include "declaration/main_sheet.h"

namespace krinu {

void AddMainSheet(TXmlDocument& doc, const TReturn& r) {
  const TYearLayout& layout = *r.Layout;
  AddSheetHead(doc, r.Taxpayer, r.Params, "65A");
  AddSheetPeriod(doc, r.Params);
  doc.Field("0A0001E001A", r.Taxpayer.Adoszam);
  doc.Field(layout.TaxpayerName, r.Taxpayer.Nev);
  doc.Field(layout.AdministratorName, r.Administrator.Nev);
  doc.Field(layout.AdministratorPhone, r.Administrator.Telefon);
  doc.Field("0A0001G001A", r.Taxpayer.Szamlaszam1);
  doc.Field("0A0001G002A", r.Taxpayer.Szamlaszam2);
  doc.Field("0A0001G003A", r.Taxpayer.Bank);
  doc.Raw(R"(      <mezo eazon="0A0001F001A">)").Date(r.Params.PeriodStart);
  doc.Raw("</mezo> <!-- Bevallasi idoszak eleje -->").EndLine();
  doc.Raw(R"(      <mezo eazon="0A0001F002A">)").Date(r.Params.PeriodEnd);
  doc.Raw("</mezo> <!-- Bevallasi idoszak vege  -->").EndLine();
  AddSheetEnd(doc);
}

}  // namespace krinu
