# The C snippets of docs/host-guide.md, in order, are one host program. This
# script writes them into one C file, each after a #line that points at its
# place in the guide, so that a compiler error names the guide's line:
#
#   cmake -DGUIDE=docs/host-guide.md -DOUTPUT=guide_host.c -P host_guide.cmake
#
# With -DCOMPILER=cc -DINCLUDE=include it then compiles that file (as the
# test HostGuide.SnippetsCompile does) as ISO C99 with -pedantic, every
# warning an error.
cmake_minimum_required(VERSION 3.25)

# Backslashes and semicolons would disturb CMake's lists: they travel as
# placeholders and come back in the output.
file(READ ${GUIDE} guide)
string(REPLACE "\\" "@ZUL_BACKSLASH@" guide "${guide}")
string(REPLACE ";" "@ZUL_SEMICOLON@" guide "${guide}")
string(REPLACE "\n" ";" lines "${guide}")
set(text "/* Made from ${GUIDE} by cmake/host_guide.cmake: edit the guide, not this file. */\n")
set(inside FALSE)
set(number 0)
set(snippets 0)
foreach(line IN LISTS lines)
  math(EXPR number "${number} + 1")
  if(NOT inside AND line STREQUAL "```c")
    set(inside TRUE)
    math(EXPR snippets "${snippets} + 1")
    math(EXPR first "${number} + 1")
    string(APPEND text "#line ${first} \"${GUIDE}\"\n")
  elseif(inside AND line STREQUAL "```")
    set(inside FALSE)
  elseif(inside)
    string(APPEND text "${line}\n")
  endif()
endforeach()
if(inside OR snippets EQUAL 0)
  message(FATAL_ERROR "${GUIDE}: a C snippet is not closed, or there is none")
endif()
set(ZUL_BACKSLASH "\\")
set(ZUL_SEMICOLON ";")
file(CONFIGURE OUTPUT ${OUTPUT} CONTENT "${text}" @ONLY)

if(COMPILER)
  execute_process(COMMAND ${COMPILER} -std=c99 -Wall -Wextra -pedantic -Werror -fsyntax-only -I${INCLUDE} ${OUTPUT}
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "the snippets of ${GUIDE} do not compile as one program")
  endif()
  message(STATUS "${GUIDE}: ${snippets} C snippets compile as one program")
endif()
