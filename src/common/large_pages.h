#pragma once
#include <cstddef>

namespace krinu {

// Asks the system to back a large block that is about to be filled with large pages: a
// million invoice lines, or the XML of their return, otherwise cost tens of thousands of
// page faults (far more on virtual machines), and large pages cut their number 512-fold.
// Only advice: the block stays the caller's, and where the system has no such thing
// nothing happens.
void AdviseLargePages(void* data, size_t bytes);

// Has the system back the block with zeroed pages now, without the program writing to it.
// Run on the second core while the first fills the block from the front, it takes the
// system's zeroing of a hundred megabytes out of the load's way; the block's contents are
// not touched, so the two never share data. Nothing happens where the system cannot.
void PopulatePages(void* data, size_t bytes);

}  // namespace krinu
