#include "common/large_pages.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace krinu {

void AdviseLargePages(void* data, size_t bytes) {
#if defined(MADV_HUGEPAGE)
  // Only the whole 2 MB pages inside the block; the advice never reaches a neighbour.
  constexpr uintptr_t kPage = uintptr_t(2) << 20;
  const uintptr_t begin = (reinterpret_cast<uintptr_t>(data) + kPage - 1) & ~(kPage - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(data) + bytes) & ~(kPage - 1);
  if (data && end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
  (void)data;
  (void)bytes;
#endif
}

void PopulatePages(void* data, size_t bytes) {
#if defined(MADV_POPULATE_WRITE)
  constexpr uintptr_t kPage = 4096;
  const uintptr_t begin = reinterpret_cast<uintptr_t>(data) & ~(kPage - 1);
  const uintptr_t end = reinterpret_cast<uintptr_t>(data) + bytes;
  if (data && end > begin)
    madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
  (void)data;
  (void)bytes;
#endif
}

}  // namespace krinu
