#include "intake/code_page.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace krinu {

quint16 DetectCodePage(const TFBytes& sample, bool& hasBOM) {
  hasBOM = false;
  const qint32 len = sample.Len;
  if (len < 4) return kCodePageAnsi;
  const auto& b = sample.Data;
  struct Mark {
    unsigned char bytes[4];
    int size;
    quint16 codePage;
  };
  static constexpr Mark kMarks[] = {{{0xEF, 0xBB, 0xBF, 0}, 3, kCodePageUtf8},
                                    {{0x00, 0x00, 0xFE, 0xFF}, 4, kCodePageUtf32BE},
                                    {{0xFF, 0xFE, 0x00, 0x00}, 4, kCodePageUtf32LE},
                                    {{0xFE, 0xFF, 0, 0}, 2, kCodePageUtf16BE},
                                    {{0xFF, 0xFE, 0, 0}, 2, kCodePageUtf16LE}};
  for (const Mark& m : kMarks) {
    if (std::equal(m.bytes, m.bytes + m.size, b.begin())) {
      hasBOM = true;
      return m.codePage;
    }
  }

  // Two-byte UTF-8 sequences; a pair ending on the sample's last byte is not counted.
  int pairs = 0;
  for (qint32 i = 0; i < len; ++i) {
    if ((b[size_t(i)] & 0xE0) == 0xC0 && i + 2 < len && (b[size_t(i) + 1] & 0xC0) == 0x80) {
      ++pairs;
      ++i;
    }
  }
  if (pairs >= 2) return kCodePageUtf8;

  const qint32 half = len / 2;
  int little = 0, big = 0;
  for (qint32 i = 0; i < len; i += 2) {
    if (i + 2 >= len) break;
    if (b[size_t(i)] >= 0x20 && b[size_t(i) + 1] == 0x00) ++little;
    if (b[size_t(i)] == 0x00 && b[size_t(i) + 1] >= 0x20) ++big;
  }
  if (double(little) / double(half) >= 0.5) return kCodePageUtf16LE;
  if (double(big) / double(half) >= 0.5) return kCodePageUtf16BE;
  return kCodePageAnsi;
}

QString CodePageName(int codePage) {
  switch (codePage) {
    case kCodePageAnsi:
      return QStringLiteral("Windows alapértelmezett");
    case kCodePageUtf8:
      return QStringLiteral("UTF-8");
    case kCodePageUtf16LE:
      return QStringLiteral("UTF-16 (little endien)");
    case kCodePageUtf16BE:
      return QStringLiteral("UTF-16 (big    endien)");
    case kCodePageUtf32LE:
      return QStringLiteral("UTF-32 (little endien)");
    case kCodePageUtf32BE:
      return QStringLiteral("UTF-32 (big    endien)");
  }
  return QStringLiteral("?");
}

bool CodePageSupported(quint16 codePage) {
  return codePage == kCodePageAnsi || codePage == kCodePageUtf8 || codePage == kCodePageUtf16LE;
}

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
bool ReadSampleExclusively(const QString& fileName, TFBytes& sample) {
  const QByteArray path = QFile::encodeName(fileName);
  const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  bool leased = false;
  if (::fcntl(fd, F_SETLEASE, F_RDLCK) == 0) {
    leased = true;
  } else if (errno == EAGAIN || errno == EBUSY) {
    ::close(fd);  // a writer has it open
    return false;
  } else if (SomeoneWrites(st)) {  // no lease for us here (not our file, or no support)
    ::close(fd);
    return false;
  }
  sample = TFBytes{};
  qint32 total = 0;
  while (total < qint32(sample.Data.size())) {
    const ssize_t n = ::read(fd, sample.Data.data() + total, sample.Data.size() - size_t(total));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    total += qint32(n);
  }
  sample.Len = total;
  if (leased) ::fcntl(fd, F_SETLEASE, F_UNLCK);
  ::close(fd);
  return true;
}

}  // namespace krinu
