// Windows opens a file with write sharing refused as it is asked: the open fails with a
// sharing violation while another handle has the file open for writing, and no handle can
// be opened for writing while ours is open.

#include <windows.h>

#include <QDir>

#include "reader/exclusive_read.h"

namespace krinu {

namespace {

HANDLE OpenDenyingWriters(const QString& fileName) {
  const QString native = QDir::toNativeSeparators(fileName);
  return ::CreateFileW(reinterpret_cast<const wchar_t*>(native.utf16()), GENERIC_READ,
                       FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

bool AnyProcessWrites(const QString& fileName) {
  const HANDLE h = OpenDenyingWriters(fileName);
  if (h != INVALID_HANDLE_VALUE) {
    ::CloseHandle(h);
    return false;
  }
  return ::GetLastError() == ERROR_SHARING_VIOLATION;
}

std::optional<QByteArray> ReadDenyingWriters(const QString& fileName, qint64 maxBytes) {
  const HANDLE h = OpenDenyingWriters(fileName);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;  // a folder fails here too
  if (::GetFileType(h) != FILE_TYPE_DISK) {
    ::CloseHandle(h);
    return std::nullopt;
  }
  QByteArray bytes(maxBytes, Qt::Uninitialized);
  qint64 total = 0;
  while (total < maxBytes) {
    DWORD n = 0;
    const DWORD want = DWORD(std::min<qint64>(maxBytes - total, 1 << 20));
    if (!::ReadFile(h, bytes.data() + total, want, &n, nullptr) || n == 0) break;
    total += n;
  }
  bytes.truncate(total);
  ::CloseHandle(h);
  return bytes;
}

}  // namespace krinu
