#pragma once
#include <QStringList>
#include <array>

namespace krinu {

// Upper-cased header texts the column assignment looks for, one list per data column in
// the order tax number, name, date, invoice number, net amount, VAT amount.
using THeaderMasks = std::array<QStringList, 6>;

}  // namespace krinu
