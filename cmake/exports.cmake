# The names the shared library exports are those the host's header declares:
# every "ZUL_ROUTINE(<result>, <name>, ...", "ZUL_DEPRECATED_ROUTINE(<result>,
# <name>, ..." and "ZUL_API ZulFn_<type> <name>;" at the start of a line.

# Sets `out_var` to the exported names of `header`, in header order.
function(zul_export_names header out_var)
  set(routine "^ZUL_(DEPRECATED_)?ROUTINE\\([^,]+, *([A-Za-z_][A-Za-z0-9_]*),")
  set(alias "^ZUL_API ZulFn_[A-Za-z0-9_]+ ([A-Za-z_][A-Za-z0-9_]*);")
  file(STRINGS ${header} lines REGEX "(${routine})|(${alias})")
  set(names)
  foreach(line IN LISTS lines)
    if(line MATCHES "${routine}")
      list(APPEND names ${CMAKE_MATCH_2})
    elseif(line MATCHES "${alias}")
      list(APPEND names ${CMAKE_MATCH_1})
    endif()
  endforeach()
  set(${out_var} ${names} PARENT_SCOPE)
endfunction()

# Writes Pkg_Zul00500.def (Windows) and Pkg_Zul00500.map (an ELF version
# script) into `directory`.
function(zul_write_export_lists header directory)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${header})
  zul_export_names(${header} names)
  set(def "LIBRARY Pkg_Zul00500\nEXPORTS\n")
  set(map "{\n  global:\n")
  foreach(name IN LISTS names)
    string(APPEND def "  ${name}\n")
    string(APPEND map "    ${name};\n")
  endforeach()
  string(APPEND map "  local:\n    *;\n};\n")
  file(CONFIGURE OUTPUT ${directory}/Pkg_Zul00500.def CONTENT "${def}" @ONLY)
  file(CONFIGURE OUTPUT ${directory}/Pkg_Zul00500.map CONTENT "${map}" @ONLY)
endfunction()
