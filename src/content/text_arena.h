#pragma once
// Text that many small strings point into, kept in a few large blocks.

#include <QStringView>
#include <cstddef>
#include <memory>
#include <vector>

#include "content/line_text.h"

namespace krinu {

// A million invoice numbers are a million small allocations, each with its own header and
// page faults, and as many frees at the end. Here they are copied one after the other into
// blocks of a few megabytes, each behind its length, and the texts handed out refer to them
// without owning them: the arena must outlive every such text. Nothing is ever changed or
// freed before the arena goes.
class TTextArena {
 public:
  TTextArena() = default;
  TTextArena(const TTextArena&) = delete;
  TTextArena& operator=(const TTextArena&) = delete;
  ~TTextArena();

  // A text with the value's characters; the empty text for an empty value.
  [[nodiscard]] TLineText Add(QStringView value);
  // Takes over the other arena's blocks: their texts live as long as this arena now.
  void Adopt(TTextArena&& other);

 private:
  struct TFree {
    void operator()(char* block) const;
  };
  std::vector<std::unique_ptr<char[], TFree>> blocks_;
  char* next_ = nullptr;
  std::size_t room_ = 0;  // bytes left in the current block
};

}  // namespace krinu
