#pragma once
// A full disk for this process: while a FileSizeLimit lives, no file can grow beyond the
// given size (RLIMIT_FSIZE), and a write past it fails with EFBIG as a write to a full disk
// fails, instead of raising SIGXFSZ, which would end the test run. Windows has no such
// limit: a test that needs one starts with KRINU_NEEDS_FILE_SIZE_LIMIT() and is skipped there.

#include <gtest/gtest.h>

#include <QtGlobal>

#ifdef Q_OS_WIN

#define KRINU_NEEDS_FILE_SIZE_LIMIT() \
  GTEST_SKIP() << "Windows has no per-process file size limit to make a disk full"

namespace krinu::test {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(qint64) {}
};

}  // namespace krinu::test

#else

#include <signal.h>
#include <sys/resource.h>

#define KRINU_NEEDS_FILE_SIZE_LIMIT() (void)0

namespace krinu::test {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(qint64 bytes) {
    oldHandler_ = ::signal(SIGXFSZ, SIG_IGN);
    EXPECT_EQ(::getrlimit(RLIMIT_FSIZE, &old_), 0);
    rlimit limit = old_;
    limit.rlim_cur = rlim_t(bytes);  // the soft limit only, so that it can be lifted again
    EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    ::signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_{};
  sighandler_t oldHandler_ = SIG_DFL;
};

}  // namespace krinu::test

#endif
