# Writes a manual page from a template and the program's own --help text, so the page lists
# exactly the commands and options the program has.
# Called in script mode: cmake -DPROGRAM=... -DTEMPLATE=... -DOUTPUT=... -DVERSION=...
#                              -DMANUAL=... -P ManPage.cmake
# Without a program the page is the template alone.
set(HELP "")
if(PROGRAM)
  execute_process(COMMAND "${PROGRAM}" --help OUTPUT_VARIABLE HELP RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR HELP STREQUAL "")
    message(FATAL_ERROR "${PROGRAM} --help failed (${status})")
  endif()
endif()

# troff escapes: backslashes first, then minus signs (so options stay copyable), then lines
# that would start a request.
string(REPLACE "\\" "\\e" HELP "${HELP}")
string(REPLACE "-" "\\-" HELP "${HELP}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" HELP "${HELP}")
string(REGEX REPLACE "\n+$" "" HELP "${HELP}")

if(DEFINED ENV{SOURCE_DATE_EPOCH})
  string(TIMESTAMP DATE "%Y-%m-%d" UTC)
else()
  file(TIMESTAMP "${TEMPLATE}" DATE "%Y-%m-%d" UTC)
endif()
configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
