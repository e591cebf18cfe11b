#include "support/foreign_writer.h"

#ifdef Q_OS_WIN
#include <windows.h>

#include <QDir>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#endif

namespace krinu::test {

#ifdef Q_OS_WIN

// Share modes bind every handle alike, this process's own included, so a handle of ours is
// as good as another program's.
ForeignWriter::ForeignWriter(const QString& path) {
  const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
  handle_ = ::CreateFileW(native.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  holding_ = handle_ != INVALID_HANDLE_VALUE;
}

ForeignWriter::~ForeignWriter() {
  if (holding_) ::CloseHandle(handle_);
}

#else

// Linux tells writers apart by process: a child holds the file until it is killed.
ForeignWriter::ForeignWriter(const QString& path) {
  int ready[2];
  if (::pipe(ready) != 0) return;
  const QByteArray file = QFile::encodeName(path);
  pid_ = ::fork();
  if (pid_ == 0) {
    const int fd = ::open(file.constData(), O_WRONLY | O_APPEND);
    const char ok = fd >= 0 ? '1' : '0';
    (void)!::write(ready[1], &ok, 1);
    for (;;) ::pause();
  }
  char ok = 0;
  holding_ = pid_ > 0 && ::read(ready[0], &ok, 1) == 1 && ok == '1';
  ::close(ready[0]);
  ::close(ready[1]);
}

ForeignWriter::~ForeignWriter() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, nullptr, 0);
}

#endif

}  // namespace krinu::test
