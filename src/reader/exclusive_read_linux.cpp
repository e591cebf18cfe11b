// The Linux stand-in for opening a file with write sharing refused.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <cerrno>

#include "reader/exclusive_read.h"

namespace krinu {

namespace {

// Whether any process (this one included) has the file open for writing, found through
// /proc: used when the kernel will not give us a lease on the file.
bool SomeoneWrites(const struct stat& target) {
  const QDir proc(QStringLiteral("/proc"));
  const QStringList pids = proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  for (const QString& pid : pids) {
    bool numeric = false;
    pid.toInt(&numeric);
    if (!numeric) continue;
    const QString fdDir = QStringLiteral("/proc/") + pid + QStringLiteral("/fd/");
    const QStringList fds =
        QDir(fdDir).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& fd : fds) {
      struct stat st {};
      if (::stat(QFile::encodeName(fdDir + fd).constData(), &st) != 0) continue;
      if (st.st_dev != target.st_dev || st.st_ino != target.st_ino) continue;
      QFile info(QStringLiteral("/proc/") + pid + QStringLiteral("/fdinfo/") + fd);
      if (!info.open(QIODevice::ReadOnly)) continue;
      for (const QByteArray& line : info.readAll().split('\n')) {
        if (!line.startsWith("flags:")) continue;
        const unsigned flags = line.mid(6).trimmed().toUInt(nullptr, 8);
        if ((flags & O_ACCMODE) == O_WRONLY || (flags & O_ACCMODE) == O_RDWR) return true;
      }
    }
  }
  return false;
}

}  // namespace

bool AnyProcessWrites(const QString& fileName) {
  struct stat st {};
  if (::stat(QFile::encodeName(fileName).constData(), &st) != 0) return false;
  return SomeoneWrites(st);
}

// Linux has no share modes. A read lease stands in for "refuse write access to everybody
// else": the kernel grants it only while no process has the file open for writing.
std::optional<QByteArray> ReadDenyingWriters(const QString& fileName, qint64 maxBytes) {
  const QByteArray path = QFile::encodeName(fileName);
  // Opening a FIFO waits for a writer, and a device may never end: the kind is checked
  // before the open, and the open itself does not wait, should the file be swapped between.
  struct stat before {};
  if (::stat(path.constData(), &before) != 0 || !S_ISREG(before.st_mode)) return std::nullopt;
  const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  bool leased = false;
  if (::fcntl(fd, F_SETLEASE, F_RDLCK) == 0) {
    leased = true;
  } else if (errno == EAGAIN || errno == EBUSY) {
    ::close(fd);  // a writer has it open
    return std::nullopt;
  } else if (SomeoneWrites(st)) {  // no lease for us here (not our file, or no support)
    ::close(fd);
    return std::nullopt;
  }
  QByteArray bytes(maxBytes, Qt::Uninitialized);
  qint64 total = 0;
  while (total < maxBytes) {
    const ssize_t n = ::read(fd, bytes.data() + total, size_t(maxBytes - total));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    total += n;
  }
  bytes.truncate(total);
  if (leased) ::fcntl(fd, F_SETLEASE, F_UNLCK);
  ::close(fd);
  return bytes;
}

}  // namespace krinu
