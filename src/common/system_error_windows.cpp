#include <windows.h>

#include "common/system_error.h"

namespace krinu {

QString LastSystemError() {
  return SystemErrorText(::GetLastError());
}

// LANG_NEUTRAL lets the system choose: the user's language, as Explorer would say it.
QString SystemErrorText(unsigned long code) {
  wchar_t* buffer = nullptr;
  const DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPWSTR>(&buffer),
      0, nullptr);
  QString text = n ? QString::fromWCharArray(buffer, int(n)).trimmed()
                   : QStringLiteral("Windows error %1").arg(code);
  if (buffer) ::LocalFree(buffer);
  return text;
}

}  // namespace krinu
