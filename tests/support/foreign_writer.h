#pragma once
// Another program holding a file open for writing, for as long as the object lives.

#include <QString>

namespace krinu::test {

class ForeignWriter {
 public:
  explicit ForeignWriter(const QString& path);
  ~ForeignWriter();
  ForeignWriter(const ForeignWriter&) = delete;
  ForeignWriter& operator=(const ForeignWriter&) = delete;
  // Whether the file could be opened for writing.
  bool Holding() const { return holding_; }

 private:
  bool holding_ = false;
#ifdef Q_OS_WIN
  void* handle_ = nullptr;
#else
  int pid_ = -1;
#endif
};

}  // namespace krinu::test
