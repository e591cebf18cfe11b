#include <windows.h>

#include <QDir>

#include "common/system_error.h"
#include "masterdata/file_placement.h"

namespace krinu {

namespace {

std::wstring Native(const QString& path) {
  return QDir::toNativeSeparators(path).toStdWString();
}

}  // namespace

// Without MOVEFILE_REPLACE_EXISTING the move refuses an existing target; within one folder it
// is a rename, which NTFS does in one step.
TPlacement MoveIntoPlace(const QString& from, const QString& to) {
  TPlacement result;
  if (::MoveFileExW(Native(from).c_str(), Native(to).c_str(), MOVEFILE_WRITE_THROUGH)) {
    result.Moved = true;
    return result;
  }
  const DWORD error = ::GetLastError();
  result.TargetExists = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
  result.Reason = SystemErrorText(error);
  return result;
}

bool SyncToDisk(const QString& path) {
  const HANDLE h = ::CreateFileW(Native(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool ok = ::FlushFileBuffers(h) != 0;
  return ::CloseHandle(h) != 0 && ok;
}

}  // namespace krinu
