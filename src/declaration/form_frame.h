#pragma once
// What every sheet of the form XML shares: the run parameters, the year rules and the
// frame of lines around a sheet's fields.

#include <QDate>
#include <QString>
#include <string_view>

#include "common/records.h"
#include "declaration/xml_document.h"

namespace krinu {

struct TDeclarationParams {
  QString YearDigits;   // see YearDigits()
  int FormYear = 0;     // YearDigits as a number: it picks the fields of the year's layout
  QString FormVersion;  // see FormVersionFor()
  QDate PeriodStart;
  QDate PeriodEnd;
};

// Third and fourth digit of the year in decimal: 2024 gives "24".
[[nodiscard]] QString YearDigits(QDate periodStart);
// YearDigits as a number, 0 when it is not one. It picks the field layout of the year.
[[nodiscard]] int FormYear(const QString& yearDigits);
// The form version edit's text, "1.0" when it is empty.
[[nodiscard]] QString FormVersionFor(const QString& editText);
// The run's parameters from the period and the form version edit's text.
[[nodiscard]] TDeclarationParams DeclarationParams(QDate periodStart, QDate periodEnd,
                                                   const QString& formVersionText);

// The XML declaration and the root start line; the root end line.
void AddDocumentStart(TXmlDocument& doc);
void AddDocumentEnd(TXmlDocument& doc);

// A sheet's frame: from "<nyomtatvany>" to "</adozo>"; from "<idoszak>" to "<mezok>"
// (a partner sheet puts its identification block between the two); the closing lines.
void AddSheetHead(TXmlDocument& doc, const TAdozoAdat& taxpayer, const TDeclarationParams& params,
                  std::string_view sheetCode);
void AddSheetPeriod(TXmlDocument& doc, const TDeclarationParams& params);
void AddSheetEnd(TXmlDocument& doc);

}  // namespace krinu
