# The build files name every file of src/, tools/ and tests/. With explicit
# lists, a file that a merge or a new feature adds but nobody lists would
# silently not be built (a test file: its tests would silently not run), and
# a leftover (a merge's .orig, a patch's .rej, a header nothing includes)
# would be committed and carried along unread. zul_check_source_lists() stops
# the configuration instead, naming each such file, and writes what it knew
# into the build tree so that the test SourceLists.EveryFileIsBuiltOrNamed
# checks the tree again as it is when the tests run:
#   cmake -DLISTS=BUILD/source_lists.cmake -P cmake/source_lists.cmake
#
# A file passes when
#   - a target builds it (its sources, generated ones included),
#   - it is a header that a file built includes, directly or through other
#     headers ("#include" lines with quotes, found beside the including file
#     or by the end of their path),
#   - it is the CMakeLists.txt of a folder the configuration reads, or a
#     file it reads (CMAKE_CONFIGURE_DEPENDS), or
#   - some CMakeLists.txt names it with zul_name_files(): the data files that
#     tests and scripts read (seeds, books, scripts run with cmake -P, whole
#     projects a test builds), named where they are used.
# The configuration leaves out what it does not build (the other platform's
# code, the folders named after IGNORE). When the sources are a git checkout
# the files are those git knows or would add (ignored ones, such as an
# editor's backups, are not looked at; a committed .orig is); otherwise every
# file on disk.
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  cmake_minimum_required(VERSION 3.25)
endif()
set(ZUL_SOURCE_LISTS_SCRIPT ${CMAKE_CURRENT_LIST_FILE})

# Names files that a CMakeLists.txt uses but no target builds, relative to the
# folder of that CMakeLists.txt.
function(zul_name_files)
  foreach(file IN LISTS ARGN)
    cmake_path(ABSOLUTE_PATH file BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} NORMALIZE OUTPUT_VARIABLE path)
    if(NOT EXISTS ${path})
      message(FATAL_ERROR "zul_name_files: ${path} does not exist")
    endif()
    set_property(GLOBAL APPEND PROPERTY ZUL_NAMED_FILES ${path})
  endforeach()
endfunction()

# Every file the configuration below `directory` builds, reads or names.
function(zul_collect_sources directory out)
  set(sources ${directory}/CMakeLists.txt)
  get_property(read DIRECTORY ${directory} PROPERTY CMAKE_CONFIGURE_DEPENDS)
  foreach(file IN LISTS read)
    cmake_path(ABSOLUTE_PATH file BASE_DIRECTORY ${directory} NORMALIZE)
    list(APPEND sources ${file})
  endforeach()
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(source_dir ${target} SOURCE_DIR)
    get_target_property(target_sources ${target} SOURCES)
    if(NOT target_sources)
      continue()
    endif()
    foreach(source IN LISTS target_sources)
      if(source MATCHES "^\\$<")
        continue()
      endif()
      cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${source_dir} NORMALIZE)
      list(APPEND sources ${source})
    endforeach()
  endforeach()
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    zul_collect_sources(${subdirectory} more)
    list(APPEND sources ${more})
  endforeach()
  set(${out} ${sources} PARENT_SCOPE)
endfunction()

# FOLDERS: every file under them is checked; SOURCE_FOLDERS: only their code
# (.c, .cpp, .h); IGNORE: folders or files this configuration does not build.
function(zul_check_source_lists)
  cmake_parse_arguments(ARG "" "" "FOLDERS;SOURCE_FOLDERS;IGNORE" ${ARGN})
  zul_collect_sources(${PROJECT_SOURCE_DIR} listed)
  get_property(named GLOBAL PROPERTY ZUL_NAMED_FILES)
  list(APPEND listed ${named})
  list(REMOVE_DUPLICATES listed)
  if(WIN32)
    list(APPEND ARG_IGNORE posix)
  else()
    list(APPEND ARG_IGNORE win32)
  endif()
  set(lists ${PROJECT_BINARY_DIR}/source_lists.cmake)
  file(WRITE ${lists} "# What the configuration builds and names (cmake/source_lists.cmake).\n"
       "set(ZUL_SOURCE_DIR [[${PROJECT_SOURCE_DIR}]])\n"
       "set(ZUL_FOLDERS [[${ARG_FOLDERS}]])\n"
       "set(ZUL_SOURCE_FOLDERS [[${ARG_SOURCE_FOLDERS}]])\n"
       "set(ZUL_IGNORE [[${ARG_IGNORE}]])\n"
       "set(ZUL_LISTED [[${listed}]])\n")
  zul_find_unlisted(${PROJECT_SOURCE_DIR} "${listed}" "${ARG_FOLDERS}" "${ARG_SOURCE_FOLDERS}" "${ARG_IGNORE}")
endfunction()

# The files under the folders, as git sees them (tracked, or new and not
# ignored), or on disk outside a git checkout. Relative to source_dir.
function(zul_tree_files source_dir folders out)
  list(REMOVE_ITEM folders "")
  find_program(ZUL_GIT git)
  set(result 1)
  if(ZUL_GIT)
    # Only when the sources are a checkout of their own, not a folder inside
    # another project's.
    execute_process(COMMAND ${ZUL_GIT} -C ${source_dir} rev-parse --show-toplevel
      RESULT_VARIABLE result OUTPUT_VARIABLE top OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(result EQUAL 0)
      file(REAL_PATH ${top} top)
      file(REAL_PATH ${source_dir} real_source_dir)
      if(NOT top STREQUAL real_source_dir)
        set(result 1)
      endif()
    endif()
  endif()
  if(result EQUAL 0)
    execute_process(COMMAND ${ZUL_GIT} -c core.quotepath=off -C ${source_dir} ls-files --cached --others
                            --exclude-standard -- ${folders}
      RESULT_VARIABLE result OUTPUT_VARIABLE listing ERROR_QUIET)
  endif()
  set(files)
  if(result EQUAL 0)
    string(REPLACE "\n" ";" listing "${listing}")
    foreach(file IN LISTS listing)
      # Deleted from the disk but not yet from git's index: gone.
      if(file AND EXISTS ${source_dir}/${file})
        list(APPEND files ${file})
      endif()
    endforeach()
  else()
    foreach(folder IN LISTS folders)
      file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE ${source_dir} ${source_dir}/${folder}/*)
      list(APPEND files ${found})
    endforeach()
  endif()
  set(${out} ${files} PARENT_SCOPE)
endfunction()

# Marks as reached every header that `file` includes ("#include" with
# quotes): the one beside it if there is one, else each header whose path
# ends with the included name. Appends the newly reached ones to `queue`.
macro(zul_reach_includes file queue)
  file(STRINGS ${file} zul_includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  cmake_path(GET file PARENT_PATH zul_here)
  foreach(zul_line IN LISTS zul_includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" zul_name "${zul_line}")
    cmake_path(ABSOLUTE_PATH zul_name BASE_DIRECTORY ${zul_here} NORMALIZE OUTPUT_VARIABLE zul_beside)
    if(DEFINED zul_header_${zul_beside})
      set(zul_targets ${zul_beside})
    elseif(DEFINED zul_suffix_${zul_name})
      set(zul_targets ${zul_suffix_${zul_name}})
    else()
      set(zul_targets)
    endif()
    foreach(zul_target IN LISTS zul_targets)
      if(NOT zul_reached_${zul_target})
        set(zul_reached_${zul_target} TRUE)
        list(APPEND ${queue} ${zul_target})
      endif()
    endforeach()
  endforeach()
endmacro()

# What to do with a file nobody builds or names, by its kind.
function(zul_unlisted_advice file out)
  if(file MATCHES "(\\.orig|\\.rej|\\.bak|\\.swp|~)$")
    set(advice "a leftover of a patch, a merge or an editor: delete it (.gitignore keeps *.orig and *.rej out)")
  elseif(file MATCHES "\\.(c|cpp)$")
    set(advice "name it in a target's list in the CMakeLists.txt of its folder, or delete it")
  elseif(file MATCHES "\\.(h|hpp|inl)$")
    set(advice "no file that is built includes it: include it where it is used, or delete it")
  else()
    set(advice "if a test or a script reads it, name it with zul_name_files() in the CMakeLists.txt that uses it, or else delete it")
  endif()
  set(${out} "${advice}" PARENT_SCOPE)
endfunction()

function(zul_find_unlisted source_dir listed folders source_folders ignore)
  zul_tree_files(${source_dir} "${folders};${source_folders}" files)
  set(candidates)
  foreach(file IN LISTS files)
    set(skip FALSE)
    foreach(ignored IN LISTS ignore)
      if("/${file}/" MATCHES "/${ignored}/")
        set(skip TRUE)
      endif()
    endforeach()
    foreach(folder IN LISTS source_folders)
      if(file MATCHES "^${folder}/" AND NOT file MATCHES "\\.(c|cpp|h)$")
        set(skip TRUE)
      endif()
    endforeach()
    if(NOT skip)
      list(APPEND candidates ${file})
    endif()
  endforeach()

  # The headers, each under its whole path and every ending of it.
  foreach(file IN LISTS candidates)
    if(file MATCHES "\\.(h|hpp|inl)$")
      set(path ${source_dir}/${file})
      set(zul_header_${path} TRUE)
      set(suffix ${file})
      set(slash 0)
      while(slash GREATER_EQUAL 0)
        list(APPEND zul_suffix_${suffix} ${path})
        string(FIND "${suffix}" "/" slash)
        math(EXPR after "${slash} + 1")
        string(SUBSTRING "${suffix}" ${after} -1 suffix)
      endwhile()
    endif()
  endforeach()

  # Every header reached from what is built or named.
  set(queue)
  foreach(file IN LISTS listed)
    set(zul_reached_${file} TRUE)
    if(file MATCHES "\\.(c|cpp|h|hpp|in)$" AND EXISTS ${file})
      list(APPEND queue ${file})
    endif()
  endforeach()
  while(queue)
    list(POP_FRONT queue file)
    zul_reach_includes(${file} queue)
  endwhile()

  set(problems)
  foreach(file IN LISTS candidates)
    if(NOT zul_reached_${source_dir}/${file})
      zul_unlisted_advice(${file} advice)
      list(APPEND problems "${file}: ${advice}")
    endif()
  endforeach()
  if(problems)
    list(SORT problems)
    list(JOIN problems "\n  " text)
    list(JOIN folders ", " where)
    message(FATAL_ERROR "Files under ${where} that no target builds, no built file includes and no "
                        "CMakeLists.txt names (see cmake/source_lists.cmake):\n  ${text}")
  endif()
endfunction()

# The test: the tree as it is now, against what the configuration knew.
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  if(NOT LISTS OR NOT EXISTS "${LISTS}")
    message(FATAL_ERROR "usage: cmake -DLISTS=BUILD/source_lists.cmake -P source_lists.cmake")
  endif()
  include(${LISTS})
  zul_find_unlisted(${ZUL_SOURCE_DIR} "${ZUL_LISTED}" "${ZUL_FOLDERS}" "${ZUL_SOURCE_FOLDERS}" "${ZUL_IGNORE}")
  list(LENGTH ZUL_LISTED count)
  message(STATUS "Every file under ${ZUL_FOLDERS} is built, included or named (${count} listed).")
endif()
