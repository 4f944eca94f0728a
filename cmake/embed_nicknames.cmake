# Turns resources/nicknames.txt into a C++ source, so the pairs are part of the program and a
# malformed line fails the build instead of a run. Usage:
#   cmake -DINPUT=nicknames.txt -DOUTPUT=nicknames_data.cpp -P embed_nicknames.cmake
file(STRINGS "${INPUT}" lines)
set(pairs "")
set(number 0)
foreach(line IN LISTS lines)
  math(EXPR number "${number} + 1")
  string(STRIP "${line}" line)
  if(line STREQUAL "" OR line MATCHES "^#")
    continue()
  endif()
  if(NOT line MATCHES "^([A-Za-z][A-Za-z' .-]*),([A-Za-z][A-Za-z' .-]*)$")
    message(FATAL_ERROR "${INPUT}:${number}: expected NAME,NICKNAME in plain letters: ${line}")
  endif()
  string(APPEND pairs "    {\"${CMAKE_MATCH_1}\", \"${CMAKE_MATCH_2}\"},\n")
endforeach()
file(WRITE "${OUTPUT}.tmp"
"// Generated from resources/nicknames.txt by cmake/embed_nicknames.cmake; edit that file.\n"
"#include \"transfer/name_fold.h\"\n\n"
"namespace tovarin {\n\n"
"const std::vector<NicknamePair>& NicknamePairs() {\n"
"  static const std::vector<NicknamePair> pairs = {\n${pairs}  };\n"
"  return pairs;\n"
"}\n\n"
"}  // namespace tovarin\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
