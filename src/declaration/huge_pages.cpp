#include "declaration/huge_pages.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace krinu {

void AdviseHugePages(void* data, std::size_t size) {
#if defined(MADV_HUGEPAGE)
  // Only whole 2 MB pages inside the buffer can be huge ones.
  constexpr std::uintptr_t kHuge = std::uintptr_t(2) << 20;
  const std::uintptr_t from = (std::uintptr_t(data) + kHuge - 1) & ~(kHuge - 1);
  const std::uintptr_t to = (std::uintptr_t(data) + size) & ~(kHuge - 1);
  if (to > from) madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
#else
  (void)data;
  (void)size;
#endif
}

}  // namespace krinu
