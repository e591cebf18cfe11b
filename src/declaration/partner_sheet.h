#pragma once
// A partner sheet "65M": the partner's included lines as rows, 36 to a page, and the
// partner's totals.

#include <QString>
#include <string_view>

#include "common/records.h"
#include "content/afa_adat.h"
#include "declaration/form_frame.h"
#include "declaration/xml_document.h"

namespace krinu {

// A row's amount as written: thousands of forints up to 2024, forints from 2025, halves
// rounded away from zero. Values beyond the 64-bit range are clamped to it.
[[nodiscard]] qint64 ConvertAmount(double amount, int formYear);

// Index of the first entry with this key in the list sorted by key, or list.size().
[[nodiscard]] std::size_t FirstEntryOf(const TAFAAdatList& list, const QString& key);

// Appends nothing when the list holds no line of the partner.
void AddPartnerSheet(const TAdozoAdat& taxpayer, TXmlDocument& doc, const QString& partner,
                     const TDeclarationParams& params, const TAFAAdatList& list);

// The header fields of one page; kind is "0B" (a page of rows) or "0C".
void AddPageHeader(TXmlDocument& doc, std::string_view kind, int page, const TAdozoAdat& taxpayer,
                   const TDeclarationParams& params, const TAFAAdat& currentLine);

}  // namespace krinu
