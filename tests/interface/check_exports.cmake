# Checks that a built package exports exactly the routines its header
# declares: no C++ name, no @N decoration, nothing of the runtime.
#
#   cmake -DHEADER=include/Pkg_Zul00500.h -DLIBRARY=libPkg_Zul00500.so -DTOOL=nm -DFORMAT=elf
#         -DEXPORTS=cmake/exports.cmake -P check_exports.cmake
#   (FORMAT=pe and TOOL=objdump for a DLL)
include(${EXPORTS})
zul_export_names(${HEADER} wanted)

if(FORMAT STREQUAL "elf")
  execute_process(COMMAND ${TOOL} -D --defined-only ${LIBRARY} OUTPUT_VARIABLE listing RESULT_VARIABLE failed)
else()
  execute_process(COMMAND ${TOOL} -p ${LIBRARY} OUTPUT_VARIABLE listing RESULT_VARIABLE failed)
endif()
if(failed)
  message(FATAL_ERROR "${TOOL} could not read ${LIBRARY}")
endif()

set(exported)
string(REPLACE "\n" ";" lines "${listing}")
if(FORMAT STREQUAL "elf")
  # "0000000000049e70 T DoTEF"
  foreach(line IN LISTS lines)
    if(line MATCHES "^[0-9a-fA-F ]+ [A-Za-z] (.+)$")
      list(APPEND exported "${CMAKE_MATCH_1}")
    endif()
  endforeach()
else()
  # The export table's names: "\t[   0] DoTEF" after "[Ordinal/Name Pointer] Table".
  set(in_table FALSE)
  foreach(line IN LISTS lines)
    if(line MATCHES "Ordinal/Name Pointer\\] Table")
      set(in_table TRUE)
    elseif(in_table AND line MATCHES "^[ \t]*\\[ *[0-9]+\\] (.+)$")
      list(APPEND exported "${CMAKE_MATCH_1}")
    elseif(in_table)
      set(in_table FALSE)
    endif()
  endforeach()
endif()

list(SORT wanted)
list(SORT exported)
set(extra ${exported})
list(REMOVE_ITEM extra ${wanted})
set(missing ${wanted})
list(REMOVE_ITEM missing ${exported})
list(LENGTH exported count)
if(extra OR missing)
  message(FATAL_ERROR "${LIBRARY} exports ${count} names.\nNot in the header: ${extra}\nMissing: ${missing}")
endif()
message(STATUS "${LIBRARY}: ${count} exports, exactly the header's")
