# The Debian package, tovarin_<version>_<arch>.deb: the two programs, the desktop entry, its icons,
# the AppStream metainfo, the man pages and the copyright file. `cpack` in the build folder makes
# it; test.sh validates it and runs it from a dpkg -x root.
include(GNUInstallDirs)
set(tovarin_linux ${PROJECT_SOURCE_DIR}/resources/linux)
set(tovarin_staged ${PROJECT_BINARY_DIR}/package)
set(TOVARIN_MAINTAINER "Didozuza <tovarin@didozuza.com>" CACHE STRING
    "Maintainer of the Debian package, as Name <address>")

foreach(program tovarin tovarin-cli)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

configure_file(${tovarin_linux}/tovarin.desktop.in
               ${tovarin_staged}/${TOVARIN_APP_ID}.desktop @ONLY)
configure_file(${tovarin_linux}/tovarin.metainfo.xml.in
               ${tovarin_staged}/${TOVARIN_APP_ID}.metainfo.xml @ONLY)
if(TARGET tovarin)
  install(FILES ${tovarin_staged}/${TOVARIN_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${tovarin_staged}/${TOVARIN_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  foreach(size 48 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/tovarin-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${TOVARIN_APP_ID}.png)
  endforeach()
endif()

# The copyright file in Debian's machine-readable form, the license text indented as it requires.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
string(REGEX REPLACE "\n+$" "" license "${license}")
string(REGEX REPLACE "\n\n" "\n.\n" license "${license}")
string(REGEX REPLACE "\n" "\n " TOVARIN_LICENSE_TEXT " ${license}")
string(SUBSTRING "${TOVARIN_RELEASE_DATE}" 0 4 TOVARIN_RELEASE_YEAR)
configure_file(${tovarin_linux}/copyright.in ${tovarin_staged}/copyright @ONLY)
install(FILES ${tovarin_staged}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tovarin)

# Debian wants a changelog in every package: this version's entry, dated by its release.
execute_process(COMMAND date -R -u -d "${TOVARIN_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE tovarin_release_rfc2822 OUTPUT_STRIP_TRAILING_WHITESPACE)
file(WRITE ${tovarin_staged}/changelog
     "tovarin (${PROJECT_VERSION}) unstable; urgency=medium\n\n"
     "  * Tovarin ${PROJECT_VERSION}.\n\n"
     " -- ${TOVARIN_MAINTAINER}  ${tovarin_release_rfc2822}\n")
add_custom_command(OUTPUT ${tovarin_staged}/changelog.gz
  COMMAND gzip -9nkf ${tovarin_staged}/changelog
  DEPENDS ${tovarin_staged}/changelog)
add_custom_target(tovarin-changelog ALL DEPENDS ${tovarin_staged}/changelog.gz)
install(FILES ${tovarin_staged}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tovarin)

# Man pages from their templates and the programs' --help, compressed as Debian wants them.
set(tovarin_cli_commands build pairs settings restore review renames)
# Left for man-page.cmake to fill at build time.
set(TOVARIN_HELP "@TOVARIN_HELP@")
set(TOVARIN_COMMAND_HELP "@TOVARIN_COMMAND_HELP@")
foreach(program tovarin tovarin-cli)
  if(NOT TARGET ${program})
    continue()
  endif()
  set(commands "")
  if(program STREQUAL "tovarin-cli")
    string(REPLACE ";" "," commands "${tovarin_cli_commands}")
  endif()
  set(page ${tovarin_staged}/${program}.1)
  configure_file(${tovarin_linux}/${program}.1.in ${page}.in @ONLY)
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${program}> "-DCOMMANDS=${commands}"
            -DTEMPLATE=${page}.in -DOUTPUT=${page} -P ${PROJECT_SOURCE_DIR}/cmake/man-page.cmake
    COMMAND gzip -9nf ${page}
    DEPENDS ${program} ${page}.in ${PROJECT_SOURCE_DIR}/cmake/man-page.cmake
    COMMENT "Writing the man page of ${program}")
  add_custom_target(${program}-man ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tovarin)
set(CPACK_PACKAGE_VENDOR Didozuza)
set(CPACK_PACKAGE_CONTACT "${TOVARIN_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "carries team rosters between Grandstand baseball leagues")
set(CPACK_PACKAGE_DESCRIPTION
    "Tovarin carries team rosters from one organization of the baseball simulation\n\
Grandstand to another: it pairs the target teams with source teams by name, and\n\
rewrites each target roster with the same players, found by name in the target\n\
data disk's player file. It keeps a backup of every roster it replaces.\n\
\n\
This package holds the desktop window (tovarin) and the command line\n\
(tovarin-cli).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A utility beside a game, not a game: lintian wants games to live in /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
