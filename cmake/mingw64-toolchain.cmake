# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 compilers. The -posix variants
# give std::thread and std::mutex, which Qt needs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Libraries, headers and CMake packages come from the MinGW tree and from the folder the
# Windows dependencies (SQLite, PCRE2, GoogleTest) were installed into; programs (moc, rcc)
# from the host.
if(NOT KRINU_WIN_DEPS AND DEFINED ENV{KRINU_WIN_DEPS})
  set(KRINU_WIN_DEPS "$ENV{KRINU_WIN_DEPS}")
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KRINU_WIN_DEPS)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${KRINU_WIN_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
