#include "declaration/main_sheet.h"

namespace krinu {

void AddMainSheet(const TAdozoAdat& taxpayer, const TUgyintezoAdat& administrator,
                  TXmlDocument& doc, const TDeclarationParams& params) {
  AddSheetHead(doc, taxpayer, params, "65A");
  AddSheetPeriod(doc, params);
  doc.Field("0A0001E001A", taxpayer.Adoszam);
  // From 2025 on the name and the administrator's fields moved one code up.
  if (params.FormYear < 25) {
    doc.Field("0A0001E006A", taxpayer.Nev);
    doc.Field("0A0001E007A", administrator.Nev);
    doc.Field("0A0001E008A", administrator.Telefon);
  } else {
    doc.Field("0A0001E007A", taxpayer.Nev);
    doc.Field("0A0001E008A", administrator.Nev);
    doc.Field("0A0001E009A", administrator.Telefon);
  }
  doc.Field("0A0001G001A", taxpayer.Szamlaszam1);
  doc.Field("0A0001G002A", taxpayer.Szamlaszam2);
  doc.Field("0A0001G003A", taxpayer.Bank);
  doc.Raw(R"(      <mezo eazon="0A0001F001A">)").Date(params.PeriodStart);
  doc.Raw("</mezo> <!-- Bevallasi idoszak eleje -->").EndLine();
  doc.Raw(R"(      <mezo eazon="0A0001F002A">)").Date(params.PeriodEnd);
  doc.Raw("</mezo> <!-- Bevallasi idoszak vege  -->").EndLine();
  AddSheetEnd(doc);
}

}  // namespace krinu
