#pragma once
// The main sheet "65A": taxpayer, administrator, bank data and the period.

#include "declaration/return_model.h"
#include "declaration/xml_document.h"

namespace krinu {

void AddMainSheet(TXmlDocument& doc, const TReturn& r);

}  // namespace krinu
