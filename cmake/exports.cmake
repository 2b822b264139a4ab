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

# Writes into `def` the exported names of `header` with their 32-bit
# __stdcall decoration (name@N, N the bytes of the arguments: 8 for a double,
# 4 for anything else), for an import library that a 32-bit host's compiler
# can link: dlltool --kill-at makes each decorated name import the plain one
# the DLL exports.
function(zul_write_stdcall_def header def)
  file(READ ${header} text)
  # Comments out, and the routines' declarations one per match.
  string(REGEX REPLACE "/\\*([^*]|\\*+[^*/])*\\*+/" "" text "${text}")
  string(REGEX MATCHALL "ZUL_(DEPRECATED_)?ROUTINE\\([^,]+, *[A-Za-z_][A-Za-z0-9_]*,[ \n]*\\([^)]*\\)" routines
         "${text}")
  set(lines "LIBRARY Pkg_Zul00500.dll\nEXPORTS\n")
  foreach(routine IN LISTS routines)
    string(REGEX REPLACE "ZUL_(DEPRECATED_)?ROUTINE\\([^,]+, *([A-Za-z0-9_]+),.*" "\\2" name "${routine}")
    string(REGEX REPLACE ".*\\(([^)]*)\\)$" "\\1" parameters "${routine}")
    string(REGEX REPLACE "[ \n]+" " " parameters "${parameters}")
    string(STRIP "${parameters}" parameters)
    set(bytes 0)
    if(NOT parameters STREQUAL "void")
      string(REPLACE "," ";" parameters "${parameters}")
      foreach(parameter IN LISTS parameters)
        if(parameter MATCHES "^ *double +[A-Za-z0-9_]+ *$")
          math(EXPR bytes "${bytes} + 8")
        else()
          math(EXPR bytes "${bytes} + 4")
        endif()
      endforeach()
    endif()
    set(size_${name} ${bytes})
    string(APPEND lines "  ${name}@${bytes}\n")
  endforeach()
  # Routines exported a second time under another name, of the same type.
  string(REGEX MATCHALL "ZUL_API ZulFn_[A-Za-z0-9_]+ [A-Za-z_][A-Za-z0-9_]*" aliases "${text}")
  foreach(alias IN LISTS aliases)
    string(REGEX REPLACE "ZUL_API ZulFn_([A-Za-z0-9_]+) ([A-Za-z0-9_]+)" "\\1;\\2" pair "${alias}")
    list(GET pair 0 type)
    list(GET pair 1 name)
    string(APPEND lines "  ${name}@${size_${type}}\n")
  endforeach()
  file(CONFIGURE OUTPUT ${def} CONTENT "${lines}" @ONLY)
endfunction()
