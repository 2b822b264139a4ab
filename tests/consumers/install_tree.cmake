# cmake --install of BUILD_DIR into PREFIX (emptied first), then what a vendor
# finds there: the library with its version and soname, the header, the CMake
# package and the .pc file (neither pointing into our sources nor carrying
# our warning flags), the examples, the host guide and, when DOCS, the
# reference made by Doxygen, the license and the third-party notices and,
# when TOOLS, zulpos and tefsim with their completions and manual pages. The
# package's C++ headers and static library are internal and must not be
# there.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
  OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install ${BUILD_DIR} failed (${status})")
endif()

set(lib ${PREFIX}/${LIBDIR})
set(doc ${PREFIX}/share/doc/zul00500)
set(expected
  ${lib}/libPkg_Zul00500.so ${lib}/libPkg_Zul00500.so.${SOVERSION} ${lib}/libPkg_Zul00500.so.${VERSION}
  ${lib}/cmake/Zul00500/Zul00500Config.cmake ${lib}/cmake/Zul00500/Zul00500ConfigVersion.cmake
  ${lib}/cmake/Zul00500/Zul00500Targets.cmake ${lib}/pkgconfig/Pkg_Zul00500.pc
  ${PREFIX}/include/Pkg_Zul00500.h ${doc}/LICENSE ${doc}/THIRD-PARTY-NOTICES ${doc}/examples/c/sale_host.c
  ${doc}/examples/c/CMakeLists.txt ${doc}/examples/c/Makefile ${doc}/examples/pascal/Pkg_Zul00500.pas
  ${doc}/examples/csharp/Pkg_Zul00500.cs ${doc}/host-guide.md ${doc}/host.md ${doc}/tefsim.md
  ${doc}/zulpos.md ${doc}/windows.md ${doc}/deviations.md)
if(DOCS)
  list(APPEND expected ${doc}/html/index.html ${doc}/html/group__zul__sale.html)
endif()
if(TOOLS)
  foreach(tool zulpos tefsim)
    list(APPEND expected ${PREFIX}/bin/${tool} ${PREFIX}/share/bash-completion/completions/${tool})
    if(MAN_PAGES)
      list(APPEND expected ${PREFIX}/share/man/man1/${tool}.1.gz)
    endif()
  endforeach()
endif()
set(problems)
foreach(file IN LISTS expected)
  if(NOT EXISTS ${file})
    file(RELATIVE_PATH file ${PREFIX} ${file})
    list(APPEND problems "not installed: ${file}")
  endif()
endforeach()
foreach(internal include/zul00500 ${LIBDIR}/libzul00500.a)
  if(EXISTS ${PREFIX}/${internal})
    list(APPEND problems "installed, though internal: ${internal}")
  endif()
endforeach()

execute_process(COMMAND ${READELF} -d ${lib}/libPkg_Zul00500.so.${VERSION} OUTPUT_VARIABLE dynamic)
if(NOT dynamic MATCHES "SONAME[^\n]*\\[libPkg_Zul00500\\.so\\.${SOVERSION}\\]")
  list(APPEND problems "the library's soname is not libPkg_Zul00500.so.${SOVERSION}")
endif()

file(GLOB package_files ${lib}/cmake/Zul00500/*.cmake ${lib}/pkgconfig/*.pc)
foreach(file IN LISTS package_files)
  file(READ ${file} text)
  string(FIND "${text}" "${SOURCE_DIR}" in_sources)
  if(NOT in_sources EQUAL -1 OR text MATCHES "-W(error|all|extra)")
    list(APPEND problems "${file} points into the source tree or carries our warning flags")
  endif()
endforeach()

if(TOOLS)
  foreach(tool zulpos tefsim)
    execute_process(COMMAND ${PREFIX}/bin/${tool} --version OUTPUT_VARIABLE said RESULT_VARIABLE status)
    # "zulpos 0.1.0 (source, kind)"
    if(NOT status EQUAL 0 OR NOT said MATCHES "^${tool} ${VERSION} \\(")
      list(APPEND problems "${tool} --version said \"${said}\" (${status})")
    endif()
  endforeach()
endif()

# The library's and the tools' components alone, as the Debian packages of
# the library and the tools install them without the development package:
# zulpos still finds the library (by its soname; the .so link is not there).
if(TOOLS)
  set(runtime_prefix ${PREFIX}-runtime)
  file(REMOVE_RECURSE ${runtime_prefix})
  foreach(component Runtime Tools)
    execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${runtime_prefix}
      --component ${component} OUTPUT_QUIET RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      list(APPEND problems "cmake --install --component ${component} failed (${status})")
    endif()
  endforeach()
  if(EXISTS ${runtime_prefix}/${LIBDIR}/libPkg_Zul00500.so)
    list(APPEND problems "the Runtime component holds the development link libPkg_Zul00500.so")
  endif()
  execute_process(COMMAND ${runtime_prefix}/bin/zulpos --version OUTPUT_VARIABLE said ERROR_VARIABLE said
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT said MATCHES "\npackage ${VERSION} ")
    list(APPEND problems "zulpos of the Runtime and Tools components alone: \"${said}\" (${status})")
  endif()
endif()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "the installed package in ${PREFIX}:\n  ${text}")
endif()
message(STATUS "installed into ${PREFIX}: ${VERSION}, soname libPkg_Zul00500.so.${SOVERSION}")
