#pragma once
#include <cstddef>

namespace krinu {

// Asks the system to back a large block that is about to be filled with large pages: a
// million invoice lines, or the XML of their return, otherwise cost tens of thousands of
// page faults (far more on virtual machines), and large pages cut their number 512-fold.
// Only advice: the block stays the caller's, and where the system has no such thing
// nothing happens.
void AdviseLargePages(void* data, size_t bytes);

}  // namespace krinu
