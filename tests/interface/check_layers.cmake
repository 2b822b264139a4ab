# Each layer of the package includes only from itself and the layers below:
#   platform  <-  support  <-  tef  <-  printing  <-  cancellation  <-  capi
# and nothing in src/ includes the tools' headers. The printing run confirms
# through tef; the cancellations print, so they sit above printing; nothing
# in tef prints. A folder of src/ that is not in the list is refused until it
# is given its place here.
#   cmake -DSOURCE_DIR=DIR -P check_layers.cmake
cmake_minimum_required(VERSION 3.25)
set(layers platform support tef printing cancellation capi)
set(tool_headers "tool_platform|zulpos|tefsim|virtual_printer|journal|cli")

# What each layer must not include: every layer above it, and the tools.
set(above ${layers})
foreach(layer IN LISTS layers)
  list(REMOVE_AT above 0)
  list(JOIN above "|" forbidden)
  if(forbidden)
    set(forbidden_${layer} "${forbidden}|${tool_headers}")
  else()
    set(forbidden_${layer} "${tool_headers}")
  endif()
endforeach()

set(problems)
file(GLOB folders LIST_DIRECTORIES true RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/*)
foreach(folder IN LISTS folders)
  if(IS_DIRECTORY ${SOURCE_DIR}/src/${folder} AND NOT folder IN_LIST layers)
    list(APPEND problems "src/${folder}/: a folder without a layer; give it its place in tests/interface/check_layers.cmake")
  endif()
endforeach()
foreach(layer IN LISTS layers)
  file(GLOB_RECURSE files ${SOURCE_DIR}/src/${layer}/*.h ${SOURCE_DIR}/src/${layer}/*.cpp)
  foreach(file IN LISTS files)
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line IN LISTS includes)
      if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*[\"<](${forbidden_${layer}})/")
        file(RELATIVE_PATH relative ${SOURCE_DIR} ${file})
        list(APPEND problems "${relative}: ${line}")
      endif()
    endforeach()
  endforeach()
endforeach()
if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "includes that reach a layer above, or folders without a layer:\n  ${text}")
endif()
