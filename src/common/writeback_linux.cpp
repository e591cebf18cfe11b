#include "common/writeback.h"

#include <fcntl.h>

namespace krinu {

void StartWriteback(int fd, qint64 from, qint64 bytes) {
  if (fd >= 0 && bytes > 0) (void)sync_file_range(fd, from, bytes, SYNC_FILE_RANGE_WRITE);
}

}  // namespace krinu
