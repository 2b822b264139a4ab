# What `cmake --install` puts where, in three components that the Debian
# packages follow (cmake/packaging.cmake):
#
# Linux
#   Runtime      the shared library (libPkg_Zul00500.so.VERSION and its
#                soname link)
#   Development  the C header, the .so link, the CMake package
#                (find_package(Zul00500)), the pkg-config file
#                (Pkg_Zul00500.pc), the example hosts, the host's pages
#                (ZUL_HOST_PAGES) and the reference (html/, from
#                cmake/docs.cmake)
#   Tools        zulpos and tefsim, their bash completions and manual pages
# and the license and the third-party notices in the documentation folder. The package's C++ headers and
# its static library are internal: the C header is the library's face.
#
# Windows: an x64\ or x86\ folder (by the compiler's pointer size) holding the
# DLL, its import library, the .def file, zulpos.exe and tefsim.exe
# (component Runtime); beside it the header, the example hosts, the host's
# pages and the reference (doc\, from cmake/docs.cmake), README-Windows.txt,
# LICENSE.txt and THIRD-PARTY-NOTICES.txt (component Common). scripts/package.sh
# puts the Runtime of a second tree into the same zip.
#
# The build tree is exported too: find_package(Zul00500) with Zul00500_DIR
# set to the build tree finds the same targets as in an installed tree.
include(CMakePackageConfigHelpers)

set(ZUL_EXAMPLES_DIR ${PROJECT_SOURCE_DIR}/examples)
# The pages a host's author reads beside the header: the day at the till,
# the rules every host follows, the simulated manager and the command-line
# host to rehearse with, Windows, and the departures the header points to.
set(ZUL_HOST_PAGES docs/host-guide.md docs/host.md docs/reference-dotef.png docs/tefsim.md docs/zulpos.md
  docs/windows.md docs/deviations.md)
set(ZUL_CMAKE_PACKAGE_FILES
  ${PROJECT_BINARY_DIR}/Zul00500Config.cmake ${PROJECT_BINARY_DIR}/Zul00500ConfigVersion.cmake)

# The build tree's CMake package: the targets as they are here.
export(TARGETS Pkg_Zul00500 zul00500_header NAMESPACE Zul00500::
  FILE ${PROJECT_BINARY_DIR}/Zul00500Targets.cmake)
configure_package_config_file(cmake/Zul00500Config.cmake.in ${PROJECT_BINARY_DIR}/Zul00500Config.cmake
  INSTALL_DESTINATION ${PROJECT_BINARY_DIR} INSTALL_PREFIX ${PROJECT_BINARY_DIR})
# While the major version is 0 a new minor version may change the interface.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/Zul00500ConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)

if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(ZUL_WINDOWS_ARCH x64)
  else()
    set(ZUL_WINDOWS_ARCH x86)
  endif()
  install(TARGETS Pkg_Zul00500
    RUNTIME DESTINATION ${ZUL_WINDOWS_ARCH} COMPONENT Runtime
    ARCHIVE DESTINATION ${ZUL_WINDOWS_ARCH} COMPONENT Runtime)
  if(ZUL_BUILD_TOOLS)
    install(TARGETS zulpos tefsim RUNTIME DESTINATION ${ZUL_WINDOWS_ARCH} COMPONENT Runtime)
  endif()
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/exports/Pkg_Zul00500.def
    DESTINATION ${ZUL_WINDOWS_ARCH} COMPONENT Runtime)
  # The header with its source id and release flag filled in.
  install(FILES ${ZUL_GENERATED_DIR}/include/Pkg_Zul00500.h DESTINATION include COMPONENT Common)
  install(FILES packaging/README-Windows.txt DESTINATION . COMPONENT Common)
  install(FILES LICENSE DESTINATION . RENAME LICENSE.txt COMPONENT Common)
  install(FILES THIRD-PARTY-NOTICES DESTINATION . RENAME THIRD-PARTY-NOTICES.txt COMPONENT Common)
  install(FILES ${ZUL_EXAMPLES_DIR}/c/sale_host.c DESTINATION examples/c COMPONENT Common)
  install(DIRECTORY ${ZUL_EXAMPLES_DIR}/pascal ${ZUL_EXAMPLES_DIR}/csharp
    DESTINATION examples COMPONENT Common)
  install(FILES ${ZUL_HOST_PAGES} DESTINATION doc COMPONENT Common)
  return()
endif()

# --- Linux ---------------------------------------------------------------------
install(TARGETS Pkg_Zul00500 zul00500_header EXPORT Zul00500Targets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Runtime NAMELINK_COMPONENT Development)
# The header with its source id and release flag filled in.
install(FILES ${ZUL_GENERATED_DIR}/include/Pkg_Zul00500.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT Development)

set(ZUL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Zul00500)
install(EXPORT Zul00500Targets NAMESPACE Zul00500:: DESTINATION ${ZUL_CMAKE_DIR} COMPONENT Development)
configure_package_config_file(cmake/Zul00500Config.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/package/Zul00500Config.cmake INSTALL_DESTINATION ${ZUL_CMAKE_DIR})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/package/Zul00500Config.cmake
  ${PROJECT_BINARY_DIR}/Zul00500ConfigVersion.cmake DESTINATION ${ZUL_CMAKE_DIR} COMPONENT Development)

# The .pc file finds its prefix from where it lies, so that an unpacked
# archive works wherever it is.
file(RELATIVE_PATH ZUL_PC_PREFIX_FROM_PCDIR ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" ZUL_PC_PREFIX_FROM_PCDIR "${ZUL_PC_PREFIX_FROM_PCDIR}")
configure_file(cmake/Pkg_Zul00500.pc.in ${CMAKE_CURRENT_BINARY_DIR}/package/Pkg_Zul00500.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/package/Pkg_Zul00500.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT Development)

# The examples' sources; the C one builds against the installed package
# (CMakeLists.txt through find_package, Makefile through pkg-config).
set(ZUL_EXAMPLES_DEST ${CMAKE_INSTALL_DOCDIR}/examples)
install(FILES ${ZUL_EXAMPLES_DIR}/c/sale_host.c ${ZUL_EXAMPLES_DIR}/c/CMakeLists.txt
  ${ZUL_EXAMPLES_DIR}/c/Makefile DESTINATION ${ZUL_EXAMPLES_DEST}/c COMPONENT Development)
install(DIRECTORY ${ZUL_EXAMPLES_DIR}/pascal ${ZUL_EXAMPLES_DIR}/csharp
  DESTINATION ${ZUL_EXAMPLES_DEST} COMPONENT Development)
# The host's pages beside the reference (html/, from cmake/docs.cmake).
install(FILES ${ZUL_HOST_PAGES} DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT Development)

# The license and the notices of the code of others that the programs hold
# (THIRD-PARTY-NOTICES), for a plain install and the .tar.gz. The Debian
# packages carry them in each package's own documentation folder instead
# (cmake/packaging.cmake), so they are a component of their own that the
# packages leave out.
install(FILES LICENSE THIRD-PARTY-NOTICES DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT Notices)

if(NOT ZUL_BUILD_TOOLS)
  return()
endif()
install(TARGETS zulpos tefsim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Tools)

# Bash completions, written by the programs themselves, and manual pages,
# made by help2man from their --help and --version; a cross-build cannot run
# them.
if(CMAKE_CROSSCOMPILING)
  return()
endif()
set(ZUL_COMPLETIONS)
foreach(tool zulpos tefsim)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/completions/${tool})
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${tool}> -DARGUMENT=--bash-completion -DOUTPUT=${out}
            -P ${PROJECT_SOURCE_DIR}/cmake/run_to_file.cmake
    DEPENDS ${tool} ${PROJECT_SOURCE_DIR}/cmake/run_to_file.cmake
    COMMENT "Writing the bash completion of ${tool}")
  list(APPEND ZUL_COMPLETIONS ${out})
endforeach()
add_custom_target(zul_completions ALL DEPENDS ${ZUL_COMPLETIONS})
install(FILES ${ZUL_COMPLETIONS} DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
  COMPONENT Tools)

find_program(ZUL_HELP2MAN help2man DOC "help2man, which makes the tools' manual pages")
find_program(ZUL_GZIP gzip)
if(ZUL_HELP2MAN AND ZUL_GZIP)
  set(ZUL_MAN_PAGES ON)
  set(zulpos_summary "command-line host of the Pkg_Zul00500 card-payment package")
  set(tefsim_summary "TEF manager simulator for the Pkg_Zul00500 card-payment package")
  set(ZUL_MANUALS)
  foreach(tool zulpos tefsim)
    set(page ${CMAKE_CURRENT_BINARY_DIR}/man/${tool}.1)
    # gzip -n: no name or time stamp inside, so that the same page makes the
    # same file.
    add_custom_command(OUTPUT ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man
      COMMAND ${ZUL_HELP2MAN} --no-info --no-discard-stderr --section=1 "--name=${${tool}_summary}"
              --output=${page} $<TARGET_FILE:${tool}>
      COMMAND ${ZUL_GZIP} -9nf ${page}
      DEPENDS ${tool}
      COMMENT "Writing the manual page of ${tool}" VERBATIM)
    list(APPEND ZUL_MANUALS ${page}.gz)
  endforeach()
  add_custom_target(zul_manuals ALL DEPENDS ${ZUL_MANUALS})
  install(FILES ${ZUL_MANUALS} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT Tools)
else()
  set(ZUL_MAN_PAGES OFF)
  message(STATUS "help2man or gzip not found: no manual pages for zulpos and tefsim "
                 "(scripts/deps.sh package installs help2man)")
endif()
