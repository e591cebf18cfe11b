#pragma once
// The system's ANSI code page: the single-byte code page a Windows program reads "plain"
// text files in.

namespace krinu {

int SystemAnsiCodePage();

}  // namespace krinu
