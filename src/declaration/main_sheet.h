#pragma once
// The main sheet "65A": taxpayer, administrator, bank data and the period.

#include "common/records.h"
#include "declaration/form_frame.h"
#include "declaration/xml_document.h"

namespace krinu {

void AddMainSheet(const TAdozoAdat& taxpayer, const TUgyintezoAdat& administrator,
                  TXmlDocument& doc, const TDeclarationParams& params);

}  // namespace krinu
