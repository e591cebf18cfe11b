#include <windows.h>

#include <QDir>

#include "gui/shell_open.h"

namespace krinu {

// The shell's "open" verb; ShellExecute reports success with a value above 32.
bool OpenWithShell(const QString& path) {
  const std::wstring file = QDir::toNativeSeparators(path).toStdWString();
  const auto rc = reinterpret_cast<INT_PTR>(
      ::ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return rc > 32;
}

}  // namespace krinu
