# The Windows zip, tovarin-<version>-win64.zip: the two programs, README.txt (CR LF line ends),
# the help text and the license. `cpack` in the build folder makes it.
set(tovarin_package_texts ${PROJECT_BINARY_DIR}/package)
configure_file(${PROJECT_SOURCE_DIR}/resources/windows/README.txt.in
               ${tovarin_package_texts}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${tovarin_package_texts}/LICENSE.txt @ONLY
               NEWLINE_STYLE CRLF)

foreach(program tovarin tovarin-cli)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION .)
  endif()
endforeach()
install(FILES ${tovarin_package_texts}/README.txt ${tovarin_package_texts}/LICENSE.txt
              ${PROJECT_SOURCE_DIR}/resources/help.html
        DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tovarin)
set(CPACK_PACKAGE_VENDOR Didozuza)
set(CPACK_PACKAGE_FILE_NAME tovarin-${PROJECT_VERSION}-win64)
set(CPACK_STRIP_FILES ON)
include(CPack)

# The installer, tovarin-<version>-win64-setup.exe, beside the zip: made with NSIS's makensis
# (Debian's nsis) from the same programs, stripped, and the same texts.
find_program(TOVARIN_MAKENSIS makensis)
if(TOVARIN_MAKENSIS AND TARGET tovarin AND TARGET tovarin-cli)
  set(TOVARIN_INSTALLER ${PROJECT_BINARY_DIR}/tovarin-${PROJECT_VERSION}-win64-setup.exe)
  set(stripped ${tovarin_package_texts}/stripped)
  set(TOVARIN_GUI_EXE ${stripped}/tovarin.exe)
  set(TOVARIN_CLI_EXE ${stripped}/tovarin-cli.exe)
  set(TOVARIN_TEXTS ${tovarin_package_texts})
  set(TOVARIN_HELP ${PROJECT_SOURCE_DIR}/resources/help.html)
  set(TOVARIN_ICON ${PROJECT_SOURCE_DIR}/resources/tovarin.ico)
  # The licence page wraps its text itself: each paragraph on one line, so that the line breaks
  # of LICENSE (at its hard wrap, 60 characters and more) do not wrap again short.
  set(TOVARIN_LICENSE ${tovarin_package_texts}/LICENSE-installer.txt)
  file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
  string(REPEAT "[^\n]" 60 long)  # CMake's expressions have no {60,}
  set(reflowed "")
  while(NOT reflowed STREQUAL licence)
    set(reflowed "${licence}")
    string(REGEX REPLACE "(${long}[^\n]*)\n([^\n])" "\\1 \\2" licence "${licence}")
  endwhile()
  file(CONFIGURE OUTPUT ${TOVARIN_LICENSE} CONTENT "${licence}" NEWLINE_STYLE CRLF)
  set(TOVARIN_VERSION_DOTS
      "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
  configure_file(${PROJECT_SOURCE_DIR}/resources/windows/installer.nsi.in
                 ${tovarin_package_texts}/installer.nsi @ONLY)
  add_custom_command(OUTPUT ${TOVARIN_INSTALLER}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${stripped}
    COMMAND ${CMAKE_STRIP} -o ${TOVARIN_GUI_EXE} $<TARGET_FILE:tovarin>
    COMMAND ${CMAKE_STRIP} -o ${TOVARIN_CLI_EXE} $<TARGET_FILE:tovarin-cli>
    COMMAND ${TOVARIN_MAKENSIS} -V2 -NOCD ${tovarin_package_texts}/installer.nsi
    DEPENDS tovarin tovarin-cli ${tovarin_package_texts}/installer.nsi
            ${tovarin_package_texts}/README.txt ${tovarin_package_texts}/LICENSE.txt
            ${TOVARIN_LICENSE} ${TOVARIN_HELP} ${TOVARIN_ICON}
    COMMENT "Making the installer with NSIS")
  add_custom_target(installer ALL DEPENDS ${TOVARIN_INSTALLER})
endif()
