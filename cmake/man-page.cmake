# Writes a man page from its template and the program's own --help, so the two cannot drift.
# cmake -DPROGRAM=... -DCOMMANDS=build,pairs -DTEMPLATE=... -DOUTPUT=... -P man-page.cmake
# COMMANDS, when given, are subcommands (comma-separated) whose --help goes under COMMANDS.

# The help text as roff that shows it as it is: no fill, backslashes and leading dots escaped.
function(help_as_roff out)
  execute_process(COMMAND ${PROGRAM} ${ARGN} --help OUTPUT_VARIABLE text RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} ${ARGN} --help failed (${status})")
  endif()
  # The page has its own EXIT STATUS section: the footer each --help ends with is not repeated.
  string(REGEX REPLACE "\n\nExit status:.*$" "" text "${text}")
  string(REPLACE "\\" "\\e" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  string(REGEX REPLACE "\n+$" "" text "${text}")
  set(${out} ".nf\n${text}\n.fi" PARENT_SCOPE)
endfunction()

string(REPLACE "," ";" COMMANDS "${COMMANDS}")
help_as_roff(TOVARIN_HELP)
set(TOVARIN_COMMAND_HELP "")
foreach(command IN LISTS COMMANDS)
  help_as_roff(help ${command})
  string(APPEND TOVARIN_COMMAND_HELP ".SS ${command}\n${help}\n")
endforeach()
string(REGEX REPLACE "\n$" "" TOVARIN_COMMAND_HELP "${TOVARIN_COMMAND_HELP}")
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
