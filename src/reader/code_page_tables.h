#pragma once
// The program's own tables of the single-byte Windows code pages (874, 1250 to 1258), so that
// decoding them needs neither ICU nor the running system's converters.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <optional>

namespace krinu {

// The character of every byte value.
using TByteTable = std::array<char16_t, 256>;

// The table of a code page number; nothing for a code page that is not one of ours.
std::optional<TByteTable> WindowsByteTable(int codePage);
// The same by encoding name ("windows-1250", any case).
std::optional<TByteTable> ByteTableForName(const QByteArray& name);
QString DecodeWithTable(const TByteTable& table, QByteArrayView bytes);

}  // namespace krinu
