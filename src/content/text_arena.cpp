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

void TTextArena::TFree::operator()(char* block) const {
  ::operator delete(block, std::align_val_t(kBlockBytes));
}

TLineText TTextArena::Add(QStringView value) {
  if (value.isEmpty()) return {};
  const std::size_t bytes = TLineText::Bytes(value);
  if (bytes > room_) {
    const std::size_t blockBytes =
        std::max(kBlockBytes, (bytes + kBlockBytes - 1) / kBlockBytes * kBlockBytes);
    // Aligned to the large page; the aligned operator new is what every platform's library
    // offers (the C library's aligned_alloc is not in Windows').
    auto* block = static_cast<char*>(::operator new(blockBytes, std::align_val_t(kBlockBytes)));
    AdviseLargePages(block, blockBytes);
    blocks_.emplace_back(block);
    next_ = block;
    room_ = blockBytes;
  }
  char* head = next_;
  TLineText::Put(head, value);
  next_ += bytes;
  room_ -= bytes;
  return TLineText(static_cast<const void*>(head));
}

void TTextArena::Adopt(TTextArena&& other) {
  blocks_.reserve(blocks_.size() + other.blocks_.size());
  for (auto& block : other.blocks_) blocks_.push_back(std::move(block));
  other.blocks_.clear();
  other.next_ = nullptr;
  other.room_ = 0;
}

}  // namespace krinu
