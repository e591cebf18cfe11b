#pragma once
// The operating system's own words for an error code, in the system's language: what a
// failed write or move tells the user.

#include <QString>

namespace krinu {

// The text for the last error of the calling thread (errno here, GetLastError() on Windows).
QString LastSystemError();
// The text for an error code of that kind.
QString SystemErrorText(unsigned long code);

}  // namespace krinu
