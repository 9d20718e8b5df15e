# Writes the manual page of one program from its --help and --version, then
# compresses it: with help2man where it is installed, else as plain roff around
# the help text. Run at build time:
#   cmake -DPROGRAM=path -DNAME=name -DSUMMARY=text -DVERSION=x -DHELP2MAN=path [-DPLAIN=ON] -DOUT=file.1
#         -P ManPage.cmake
cmake_minimum_required(VERSION 3.22)

# z5ctl's verbs each have their own help; the page holds all of them.
set(verbs_text "")
if(NAME STREQUAL "z5ctl")
  execute_process(COMMAND ${PROGRAM} help OUTPUT_VARIABLE listing RESULT_VARIABLE status)
  string(REGEX MATCHALL "\n  [a-z][a-z-]* " verb_lines "${listing}")
  set(seen "")
  foreach(line ${verb_lines})
    string(STRIP "${line}" verb)
    if(NOT verb IN_LIST seen)
      list(APPEND seen ${verb})
      execute_process(COMMAND ${PROGRAM} help ${verb} OUTPUT_VARIABLE one)
      string(APPEND verbs_text ".SS ${verb}\n.nf\n${one}.fi\n")
    endif()
  endforeach()
endif()

# Text shown as it is: backslashes and line-leading dots or quotes would be roff.
function(as_roff text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()
as_roff("${verbs_text}" verbs_roff)
# The section markers themselves stay roff.
string(REPLACE "\\&.SS" ".SS" verbs_roff "${verbs_roff}")
string(REPLACE "\\&.nf" ".nf" verbs_roff "${verbs_roff}")
string(REPLACE "\\&.fi" ".fi" verbs_roff "${verbs_roff}")

# PLAIN: the help is a table of command lines that help2man would reflow.
if(HELP2MAN AND NOT PLAIN)
  set(include "")
  if(verbs_text)
    set(include_file "${OUT}.include")
    file(WRITE "${include_file}" "[VERBS]\n${verbs_roff}")
    set(include "--include=${include_file}")
  endif()
  execute_process(COMMAND ${HELP2MAN} --no-info --no-discard-stderr --name=${SUMMARY}
                          ${include} --output=${OUT} ${PROGRAM}
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "help2man failed for ${NAME}")
  endif()
else()
  execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${NAME} --help failed")
  endif()
  as_roff("${help}" help_roff)
  string(REPLACE "-" "\\-" name_roff "${NAME}")
  string(CONCAT page ".TH ${NAME} 1 \"\" \"${NAME} ${VERSION}\" \"User Commands\"\n"
           ".SH NAME\n${name_roff} \\- ${SUMMARY}\n"
           ".SH DESCRIPTION\n.nf\n${help_roff}.fi\n")
  if(verbs_text)
    string(APPEND page ".SH VERBS\n${verbs_roff}")
  endif()
  file(WRITE "${OUT}" "${page}")
endif()

execute_process(COMMAND gzip -9nf "${OUT}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip failed for ${OUT}")
endif()
