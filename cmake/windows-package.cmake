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
