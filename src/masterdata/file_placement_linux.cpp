#include "masterdata/file_placement.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

#include "common/system_error.h"

namespace krinu {

TPlacement MoveIntoPlace(const QString& from, const QString& to) {
  TPlacement result;
  const QByteArray source = QFile::encodeName(from);
  const QByteArray target = QFile::encodeName(to);
#ifdef RENAME_NOREPLACE
  if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
      0) {
    result.Moved = true;
    return result;
  }
  // File systems without the no-replace rename answer EINVAL; a hard link refuses an
  // existing target just as well.
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
    result.TargetExists = errno == EEXIST;
    result.Reason = SystemErrorText(static_cast<unsigned long>(errno));
    return result;
  }
#endif
  if (::link(source.constData(), target.constData()) != 0) {
    result.TargetExists = errno == EEXIST;
    result.Reason = SystemErrorText(static_cast<unsigned long>(errno));
    return result;
  }
  ::unlink(source.constData());
  result.Moved = true;
  return result;
}

bool SyncToDisk(const QString& path) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  return ::close(fd) == 0 && ok;
}

}  // namespace krinu
