#pragma once
// The reason a write failed, in the system's words.

#include <QFileDevice>
#include <QString>

namespace krinu {

// Qt reports a write that stopped part-way (a disk that filled up) as "Unknown error"; the
// errno of the failing call has the reason. savedErrno is errno taken right after the
// write or commit that failed, cleared before it.
inline QString WriteErrorReason(const QFileDevice& file, int savedErrno) {
  if (savedErrno != 0) return qt_error_string(savedErrno);
  return file.errorString();
}

}  // namespace krinu
