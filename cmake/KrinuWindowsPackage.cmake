# The Windows program folder that the zip and the installer ship: both programs with the
# settings file and the guide, the Qt, MinGW, SQLite and PCRE2 libraries beside them, the
# platform and style plugins, Qt's Hungarian texts, and a qt.conf that tells Qt to find all
# of it there. `cmake --install build-win --prefix DIR` lays it out in DIR.

install(TARGETS krinu krinu-cli RUNTIME DESTINATION .)
install(FILES krinu.ini DESTINATION .)
install(DIRECTORY ${KRINU_BIN_DIR}/Help/ DESTINATION Help)
install(FILES examples/szamlak.csv DESTINATION examples)

install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
        DESTINATION .)
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)

# The DLLs behind the import libraries found for SQLite and PCRE2 stand in their bin/.
foreach(lib ${SQLite3_LIBRARY} ${PCRE2_16_LIBRARY})
  get_filename_component(prefix ${lib} DIRECTORY)
  get_filename_component(name ${lib} NAME_WE)
  string(REGEX REPLACE "^lib" "" name ${name})
  file(GLOB dll ${prefix}/../bin/lib${name}*.dll ${prefix}/../bin/${name}*.dll)
  if(NOT dll)
    message(FATAL_ERROR "No DLL for ${lib} in ${prefix}/../bin")
  endif()
  install(FILES ${dll} DESTINATION .)
endforeach()

# The compiler's own runtime.
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
    find_file(path_${dll} ${dll} PATHS /usr/x86_64-w64-mingw32/lib NO_DEFAULT_PATH REQUIRED)
    set(path ${path_${dll}})
  endif()
  install(FILES ${path} DESTINATION .)
endforeach()

# Qt's own Hungarian texts (the Yes/No buttons, the file dialogs) are the same file on every
# platform: the host's copy serves.
find_file(KRINU_QTBASE_HU qtbase_hu.qm PATHS /usr/share/qt6/translations NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH REQUIRED)
install(FILES ${KRINU_QTBASE_HU} DESTINATION translations)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/windows/qt.conf DESTINATION .)

configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/krinu.nsi.in ${CMAKE_BINARY_DIR}/krinu.nsi @ONLY)
file(WRITE ${CMAKE_BINARY_DIR}/version.txt "${KRINU_VERSION_TEXT}\n")
