#include <cerrno>
#include <cstring>

#include "common/system_error.h"

namespace krinu {

QString LastSystemError() {
  return SystemErrorText(static_cast<unsigned long>(errno));
}

QString SystemErrorText(unsigned long code) {
  return QString::fromLocal8Bit(std::strerror(static_cast<int>(code)));
}

}  // namespace krinu
