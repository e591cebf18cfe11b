# One place for the language level, warnings and sanitizers of every target. TEST marks a
# test program: it may build a QString from a string literal (the expected texts read best
# as they stand), though still not from any other 8-bit string.
function(krinu_target_defaults target)
  cmake_parse_arguments(ARG "TEST" "" "" ${ARGN})
  target_compile_features(${target} PUBLIC cxx_std_20)
  set_target_properties(${target} PROPERTIES CXX_EXTENSIONS OFF AUTOMOC OFF)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  # Qt's strict mode: no silent conversions between 8-bit strings and QString (every
  # literal says its encoding), QStringBuilder for concatenations, and no narrowing in
  # signal-slot connections.
  target_compile_definitions(${target} PRIVATE QT_NO_CAST_TO_ASCII QT_NO_URL_CAST_FROM_STRING
                             QT_USE_QSTRINGBUILDER QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
  if(ARG_TEST)
    target_compile_definitions(${target} PRIVATE QT_RESTRICTED_CAST_FROM_ASCII)
  else()
    target_compile_definitions(${target} PRIVATE QT_NO_CAST_FROM_ASCII)
  endif()
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # GCC 12 reports std::optional<QString> moves as maybe-uninitialized (a known false alarm).
    target_compile_options(${target} PRIVATE -Wno-maybe-uninitialized)
  endif()
  if(KRINU_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(KRINU_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                             -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# The library of one src folder: every .h and .cpp of the folder but a program's main.cpp.
# A platform's own piece comes as a pair, NAME_linux.cpp and NAME_windows.cpp (a lone
# secondary_windows.cpp is no such piece); only the target platform's half is built.
function(krinu_library target)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
  foreach(file ${sources})
    if(file MATCHES "^(.*)_linux\\.cpp$")
      set(windows_half "${CMAKE_MATCH_1}_windows.cpp")  # the match is read before if() tests
      if(EXISTS ${windows_half} AND WIN32)
        list(REMOVE_ITEM sources ${file})
      elseif(EXISTS ${windows_half})
        list(REMOVE_ITEM sources ${windows_half})
      endif()
    endif()
  endforeach()
  add_library(${target} STATIC ${sources})
  krinu_target_defaults(${target})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${target} PUBLIC ${ARG_DEPS})
endfunction()

# The build machine's folders as the tests see them: a Windows build's tests run under Wine,
# where the build machine's root is drive Z:.
if(WIN32 AND CMAKE_CROSSCOMPILING)
  set(KRINU_HOST_ROOT "Z:")
else()
  set(KRINU_HOST_ROOT "")
endif()

# A GoogleTest executable registered with ctest; tests run from the build's bin folder so
# that "the program folder" holds krinu.ini and Help/ as for the real programs. ONE_TEST
# registers the executable as a single ctest test: its cases are found when it runs (data
# folders), and a list of them taken at build time would miss a folder added since.
function(krinu_test target)
  cmake_parse_arguments(ARG "ONE_TEST" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  krinu_target_defaults(${target} TEST)
  target_link_libraries(${target} PRIVATE ${ARG_DEPS} krinu_testsupport GTest::gtest GTest::gmock GTest::gtest_main)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_compile_definitions(${target} PRIVATE KRINU_BIN_DIR="${KRINU_HOST_ROOT}${KRINU_BIN_DIR}"
                             KRINU_TEST_DATA="${KRINU_HOST_ROOT}${PROJECT_SOURCE_DIR}/tests/data")
  # A Windows build's suites are run whole under Wine by scripts/run-windows-tests.sh: one
  # start of a suite there costs seconds, so ctest's start per case would take minutes.
  if(CMAKE_CROSSCOMPILING)
    return()
  endif()
  if(ARG_ONE_TEST)
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
  else()
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
  endif()
endfunction()
