# The source-list check (cmake/source_lists.cmake) on a small tree of its
# own: what it lets pass and what it refuses, in a git checkout and outside.
#   cmake -DSCRIPT=cmake/source_lists.cmake -DWORK=DIR -P source_lists_test.cmake
include(${CMAKE_CURRENT_LIST_DIR}/expect_outcome.cmake)
set(tree ${WORK}/tree)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${tree}/src/support ${tree}/src/tef ${tree}/tests/data ${tree}/tools)

# Built: main.cpp, which includes a.h beside it, which includes tef/b.h
# below it, which includes support/d.h, found by the end of its path. Named:
# tests/data/book.txt.
file(WRITE ${tree}/src/main.cpp "#include \"a.h\"\nint main() { return 0; }\n")
file(WRITE ${tree}/src/a.h "#pragma once\n  #  include \"tef/b.h\"\n")
file(WRITE ${tree}/src/tef/b.h "#pragma once\n#include \"support/d.h\" // d\n")
file(WRITE ${tree}/src/support/d.h "#pragma once\n")
file(WRITE ${tree}/tests/data/book.txt "a book a test reads\n")
file(WRITE ${tree}/CMakeLists.txt "")

function(check description expected_result)
  file(WRITE ${WORK}/lists.cmake "set(ZUL_SOURCE_DIR [[${tree}]])\nset(ZUL_FOLDERS src tools tests)\n"
       "set(ZUL_SOURCE_FOLDERS)\nset(ZUL_IGNORE win32)\n"
       "set(ZUL_LISTED ${tree}/src/main.cpp ${tree}/tests/data/book.txt)\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -DLISTS=${WORK}/lists.cmake -P ${SCRIPT}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  expect_outcome("${description}" "${expected_result}" "${result}" "${output}" ${ARGN})
endfunction()

# Outside a git checkout: every file on disk.
check("a clean tree" 0)
file(WRITE ${tree}/src/tef/c.h "#pragma once\n")
file(WRITE ${tree}/src/tef/old.cpp.orig "int old;\n")
file(WRITE ${tree}/tests/data/golden.txt "unread\n")
file(WRITE ${tree}/tools/extra.cpp "int extra;\n")
check("stray files" 1
  "src/tef/c.h: no file that is built includes it"
  "src/tef/old.cpp.orig: a leftover of a patch, a merge or an editor: delete it"
  "tests/data/golden.txt: if a test or a script reads it, name it with zul_name_files()"
  "tools/extra.cpp: name it in a target's list")
file(REMOVE ${tree}/src/tef/c.h ${tree}/tests/data/golden.txt ${tree}/tools/extra.cpp)

# In a git checkout: a leftover that git ignores is not looked at, a
# committed one is refused.
find_program(GIT git)
if(GIT)
  set(git ${GIT} -C ${tree} -c user.name=test -c user.email=test@example.invalid)
  execute_process(COMMAND ${git} init -q COMMAND_ERROR_IS_FATAL ANY)
  file(WRITE ${tree}/.gitignore "*.orig\n")
  check("an ignored leftover" 0)
  execute_process(COMMAND ${git} add -f src/tef/old.cpp.orig COMMAND_ERROR_IS_FATAL ANY)
  check("a committed leftover" 1 "src/tef/old.cpp.orig: a leftover")
endif()
