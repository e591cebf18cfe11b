#pragma once
// Text that many small strings point into, kept in a few large blocks.

#include <QString>
#include <QStringView>
#include <cstddef>
#include <memory>
#include <vector>

namespace krinu {

// A million invoice numbers are a million small allocations, each with its own header and
// page faults, and as many frees at the end. Here they are copied one after the other into
// blocks of a few megabytes, and the strings handed out refer to those characters
// (QString::fromRawData) without owning them: the arena must outlive every such string.
// Nothing is ever changed or freed before the arena goes.
class TTextArena {
 public:
  TTextArena() = default;
  TTextArena(const TTextArena&) = delete;
  TTextArena& operator=(const TTextArena&) = delete;
  ~TTextArena();

  // A string with the value's characters; the null string for an empty value.
  [[nodiscard]] QString Add(QStringView value);

 private:
  struct TFree {
    void operator()(char16_t* block) const;
  };
  std::vector<std::unique_ptr<char16_t[], TFree>> blocks_;
  char16_t* next_ = nullptr;
  std::size_t room_ = 0;  // characters left in the current block
};

}  // namespace krinu
