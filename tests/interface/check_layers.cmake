# Each layer of the package includes only from itself and the layers below:
#   platform  <-  support  <-  tef, printing  <-  capi
# and nothing in src/ includes the tools' headers.
#   cmake -DSOURCE_DIR=DIR -P check_layers.cmake
set(tool_headers "tool_platform|zulpos|tefsim|virtual_printer|journal|cli")
set(forbidden_platform "support|tef|printing|capi|${tool_headers}")
set(forbidden_support "tef|printing|capi|${tool_headers}")
set(forbidden_tef "capi|${tool_headers}")
set(forbidden_printing "capi|${tool_headers}")
set(forbidden_capi "${tool_headers}")

set(problems)
foreach(layer platform support tef printing capi)
  file(GLOB_RECURSE files ${SOURCE_DIR}/src/${layer}/*.h ${SOURCE_DIR}/src/${layer}/*.cpp)
  foreach(file IN LISTS files)
    file(STRINGS ${file} includes REGEX "^#include \"")
    foreach(line IN LISTS includes)
      if(line MATCHES "^#include \"(${forbidden_${layer}})/")
        file(RELATIVE_PATH relative ${SOURCE_DIR} ${file})
        list(APPEND problems "${relative}: ${line}")
      endif()
    endforeach()
  endforeach()
endforeach()
if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "includes that reach a layer above:\n  ${text}")
endif()
