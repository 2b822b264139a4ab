# The layer check (check_layers.cmake) on a small tree of its own: what it
# lets pass and what it refuses.
#   cmake -DSCRIPT=tests/interface/check_layers.cmake -DWORK=DIR -P check_layers_test.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/expect_outcome.cmake)
set(tree ${WORK}/tree)
file(REMOVE_RECURSE ${WORK})
foreach(layer platform support tef printing cancellation capi)
  file(MAKE_DIRECTORY ${tree}/src/${layer})
endforeach()

# Each layer includes the one below it, and tef its own.
file(WRITE ${tree}/src/platform/a.h "#pragma once\n#include <string>\n")
file(WRITE ${tree}/src/support/a.h "#pragma once\n#include \"platform/a.h\"\n")
file(WRITE ${tree}/src/tef/a.h "#pragma once\n#include \"support/a.h\"\n")
file(WRITE ${tree}/src/tef/b.cpp "#include \"tef/a.h\"\n")
file(WRITE ${tree}/src/printing/a.cpp "#include \"tef/a.h\"\n")
file(WRITE ${tree}/src/cancellation/a.cpp "#include \"printing/a.h\"\n#include \"tef/a.h\"\n")
file(WRITE ${tree}/src/capi/a.cpp "#include \"cancellation/a.h\"\n#include \"printing/a.h\"\n")

function(check description expected_result)
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${tree} -P ${SCRIPT}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  expect_outcome("${description}" "${expected_result}" "${result}" "${output}" ${ARGN})
endfunction()

check("a tree that includes only downward" 0)

# tef reaching up to the printing or the cancellations, printing to the
# cancellations, an include written with blanks in it.
file(WRITE ${tree}/src/tef/c.cpp "#include \"printing/a.h\"\n")
file(WRITE ${tree}/src/tef/d.h "#pragma once\n  #  include \"cancellation/a.h\"\n")
file(WRITE ${tree}/src/printing/b.cpp "#include \"cancellation/a.h\"\n")
file(WRITE ${tree}/src/support/b.cpp "#include \"tef/a.h\"\n")
check("includes that reach up" 1
  "src/tef/c.cpp: #include \"printing/a.h\""
  "src/tef/d.h:   #  include \"cancellation/a.h\""
  "src/printing/b.cpp: #include \"cancellation/a.h\""
  "src/support/b.cpp: #include \"tef/a.h\"")
file(REMOVE ${tree}/src/tef/c.cpp ${tree}/src/tef/d.h ${tree}/src/printing/b.cpp ${tree}/src/support/b.cpp)

# A tool's header, and a folder that has no place among the layers.
file(WRITE ${tree}/src/capi/b.cpp "#include \"zulpos/command.h\"\n")
file(MAKE_DIRECTORY ${tree}/src/elsewhere)
check("a tool's header and a new folder" 1
  "src/capi/b.cpp: #include \"zulpos/command.h\""
  "src/elsewhere/: a folder without a layer")
