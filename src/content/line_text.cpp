#include "content/line_text.h"

#include <new>

namespace krinu {

namespace {

// A text of its own: the count of its holders, its length, its characters.
constexpr std::size_t kCountBytes = sizeof(quint32);

}  // namespace

TLineText::TLineText(QStringView text) {
  if (text.isEmpty()) return;
  const auto size = quint32(text.size());
  char* block = static_cast<char*>(
      ::operator new(kCountBytes + sizeof size + std::size_t(size) * sizeof(char16_t)));
  new (block) std::atomic<quint32>(1);
  char* head = block + kCountBytes;
  std::memcpy(head, &size, sizeof size);
  std::memcpy(head + sizeof size, text.utf16(), std::size_t(size) * sizeof(char16_t));
  bits_ = reinterpret_cast<quintptr>(head) | kOwned;
}

void TLineText::Free() noexcept {
  ::operator delete(reinterpret_cast<char*>(Count()));
}

}  // namespace krinu
