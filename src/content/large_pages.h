#pragma once
#include <cstddef>

namespace krinu {

// Asks the system to back a large block that is about to be filled with large pages: a
// million invoice lines otherwise cost some 25,000 page faults. Only advice: the block
// stays the caller's, and where the system has no such thing nothing happens.
void AdviseLargePages(void* data, size_t bytes);

}  // namespace krinu
