#include <windows.h>

#include "reader/system_code_page.h"

namespace krinu {

int SystemAnsiCodePage() {
  return int(::GetACP());
}

}  // namespace krinu
