#include "declaration/form_frame.h"

namespace krinu {

QString YearDigits(QDate periodStart) {
  return QString::number(periodStart.year()).mid(2, 2);
}

int FormYear(const QString& yearDigits) {
  if (yearDigits.isEmpty()) return 0;
  int value = 0;
  for (QChar c : yearDigits) {
    if (c < u'0' || c > u'9') return 0;
    value = value * 10 + (c.unicode() - u'0');
  }
  return value;
}

QString FormVersionFor(const QString& editText) {
  return editText.isEmpty() ? QStringLiteral("1.0") : editText;
}

TDeclarationParams DeclarationParams(QDate periodStart, QDate periodEnd,
                                     const QString& formVersionText) {
  TDeclarationParams params;
  params.YearDigits = YearDigits(periodStart);
  params.FormYear = FormYear(params.YearDigits);
  params.FormVersion = FormVersionFor(formVersionText);
  params.PeriodStart = periodStart;
  params.PeriodEnd = periodEnd;
  return params;
}

void AddDocumentStart(TXmlDocument& doc) {
  doc.Line(0, R"(<?xml version="1.0" encoding="utf-8"?>)");
  doc.Line(2, R"(<nyomtatvanyok xmlns="http://www.apeh.hu/abev/nyomtatvanyok/2005/01">)");
}

void AddDocumentEnd(TXmlDocument& doc) {
  doc.Line(0, "</nyomtatvanyok>");
}

void AddSheetHead(TXmlDocument& doc, const TAdozoAdat& taxpayer, const TDeclarationParams& params,
                  std::string_view sheetCode) {
  doc.Line(2, "<nyomtatvany>");
  doc.Line(4, "<nyomtatvanyinformacio>");
  doc.Blanks(6).Raw("<nyomtatvanyazonosito>").Text(params.YearDigits).Raw(sheetCode);
  doc.Raw("</nyomtatvanyazonosito>").EndLine();
  doc.Blanks(6).Raw("<nyomtatvanyverzio>").Text(params.FormVersion);
  doc.Raw("</nyomtatvanyverzio>").EndLine();
  doc.Line(6, "<adozo>");
  doc.Blanks(8).Raw("<nev>").Text(taxpayer.Nev).Raw("</nev>").EndLine();
  doc.Blanks(8).Raw("<adoszam>").Text(taxpayer.Adoszam).Raw("</adoszam>").EndLine();
  doc.Line(6, "</adozo>");
}

void AddSheetPeriod(TXmlDocument& doc, const TDeclarationParams& params) {
  doc.Line(6, "<idoszak>");
  doc.Blanks(8).Raw("<tol>").Date(params.PeriodStart).Raw("</tol>").EndLine();
  doc.Blanks(8).Raw("<ig>").Date(params.PeriodEnd).Raw("</ig>").EndLine();
  doc.Line(6, "</idoszak>");
  doc.Line(4, "</nyomtatvanyinformacio>");
  doc.Line(4, "<mezok>");
}

void AddSheetEnd(TXmlDocument& doc) {
  doc.Line(4, "</mezok>");
  doc.Line(2, "</nyomtatvany>");
}

}  // namespace krinu
