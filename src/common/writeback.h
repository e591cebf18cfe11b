#pragma once
#include <QtGlobal>

namespace krinu {

// Asks the system to start writing the bytes just written to an open file out to its disk,
// without waiting: the sync that puts a large file in place then finds most of them there
// already. Only advice; where the system has no such call nothing happens.
void StartWriteback(int fd, qint64 from, qint64 bytes);

}  // namespace krinu
