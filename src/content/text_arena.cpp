#include "content/text_arena.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "common/large_pages.h"

namespace krinu {

namespace {

// One large page: taken in one fault where the system has them.
constexpr std::size_t kBlockBytes = std::size_t(2) << 20;

}  // namespace

TTextArena::~TTextArena() = default;

void TTextArena::TFree::operator()(char16_t* block) const {
  ::operator delete(block, std::align_val_t(kBlockBytes));
}

QString TTextArena::Add(QStringView value) {
  const std::size_t n = std::size_t(value.size());
  if (n == 0) return QString();
  if (n > room_) {
    const std::size_t bytes =
        std::max(kBlockBytes, (n * sizeof(char16_t) + kBlockBytes - 1) / kBlockBytes * kBlockBytes);
    // Aligned to the large page; the aligned operator new is what every platform's library
    // offers (the C library's aligned_alloc is not in Windows').
    auto* block = static_cast<char16_t*>(::operator new(bytes, std::align_val_t(kBlockBytes)));
    AdviseLargePages(block, bytes);
    blocks_.emplace_back(block);
    next_ = block;
    room_ = bytes / sizeof(char16_t);
  }
  char16_t* at = next_;
  std::memcpy(at, value.utf16(), n * sizeof(char16_t));
  next_ += n;
  room_ -= n;
  return QString::fromRawData(reinterpret_cast<const QChar*>(at), qsizetype(n));
}

}  // namespace krinu
