# Icon, version information and manifest (common controls 6, per-monitor DPI awareness) of a
# Windows executable, all from the one project version:
#   tovarin_windows_resources(<target> "<description>")
enable_language(RC)

function(tovarin_windows_resources target description)
  set(templates ${PROJECT_SOURCE_DIR}/resources/windows)
  set(TOVARIN_RC_TARGET ${target})
  set(TOVARIN_RC_DESCRIPTION "${description}")
  set(TOVARIN_RC_FILE_NAME ${target}.exe)
  set(TOVARIN_RC_ICON ${PROJECT_SOURCE_DIR}/resources/tovarin.ico)
  set(TOVARIN_RC_VERSION_DOTS
      "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources)
  set(TOVARIN_RC_MANIFEST ${out}/${target}.manifest)
  configure_file(${templates}/tovarin.manifest.in ${TOVARIN_RC_MANIFEST} @ONLY)
  configure_file(${templates}/version.rc.in ${out}/version.rc @ONLY)
  target_sources(${target} PRIVATE ${out}/version.rc)
  target_link_libraries(${target} PRIVATE tovarin_version)
  # windres sees neither file through the .rc's includes, so name them as its dependencies.
  set_source_files_properties(${out}/version.rc PROPERTIES
    OBJECT_DEPENDS "${TOVARIN_RC_ICON};${TOVARIN_RC_MANIFEST}")
endfunction()
