#include <QString>

#include "reader/system_code_page.h"
#include "reader/text_source.h"

namespace krinu {

// Linux has no ANSI code page: the one Windows would give the user's locale stands in.
int SystemAnsiCodePage() {
  for (const char* var : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const QByteArray value = qgetenv(var);
    if (!value.isEmpty()) return AnsiCodePageForLocale(QString::fromLocal8Bit(value));
  }
  return AnsiCodePageForLocale(u"");
}

}  // namespace krinu
