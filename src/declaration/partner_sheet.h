#pragma once
// A partner sheet "65M": the partner's included lines as rows, 36 to a page, and the
// partner's totals, rendered from the return.

#include <string_view>

#include "declaration/return_model.h"
#include "declaration/xml_document.h"

namespace krinu {

void AddPartnerSheet(TXmlDocument& doc, const TReturn& r, const TPartnerSheet& sheet);

// The header fields of one page; kind is "0B" (a page of rows) or "0C".
void AddPageHeader(TXmlDocument& doc, std::string_view kind, int page, const TReturn& r,
                   const TAFAAdat& currentLine);

}  // namespace krinu
