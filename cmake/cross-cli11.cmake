# Debian's CLI11 (libcli11-dev) is header-only, but it lies in /usr/include, beside the host's C
# library, which a cross build must never search. Its headers alone are copied into the build,
# with a package configuration of their own, so that find_package(CLI11) finds them there.
set(tovarin_cli11 ${PROJECT_BINARY_DIR}/cli11)
if(EXISTS /usr/include/CLI/CLI.hpp AND NOT EXISTS ${tovarin_cli11}/CLI11Config.cmake)
  file(COPY /usr/include/CLI DESTINATION ${tovarin_cli11}/include)
  file(WRITE ${tovarin_cli11}/CLI11Config.cmake [=[
if(NOT TARGET CLI11::CLI11)
  add_library(CLI11::CLI11 INTERFACE IMPORTED)
  target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${CMAKE_CURRENT_LIST_DIR}/include)
endif()
]=])
endif()
if(EXISTS ${tovarin_cli11}/CLI11Config.cmake)
  set(CLI11_DIR ${tovarin_cli11} CACHE PATH "CLI11's headers for the cross build" FORCE)
endif()
