#pragma once
// Ending a command-line run without tearing down what it loaded.

namespace krinu {

// A run of a million invoice lines holds millions of small blocks; freeing them one by one
// at exit takes as long as loading them did, and the system takes the whole address space
// back at once anyway. Builds with sanitizers always free everything, so that their leak
// check still sees every block the program forgot.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kFreeEverythingAtExit = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(leak_sanitizer)
inline constexpr bool kFreeEverythingAtExit = true;
#else
inline constexpr bool kFreeEverythingAtExit = false;
#endif
#else
inline constexpr bool kFreeEverythingAtExit = false;
#endif

// Flushes the C streams and ends the process with `status`, running no destructors and no
// exit handlers. Only for when every output file is committed and closed.
[[noreturn]] void ExitWithoutTeardown(int status);

}  // namespace krinu
