# What `cmake --install` puts where.
#
# Linux: the shared library (libPkg_Zul00500.so.VERSION and its links), the
# host's C header, the C++ headers and static library for C++ hosts, a CMake
# package (find_package(Zul00500)), a pkg-config file (Pkg_Zul00500.pc),
# zulpos and tefsim with their bash completions, the example hosts, and the
# host guide and reference under share/doc/zul00500/.
#
# Windows: an x64\ or x86\ folder (by the compiler's pointer size) holding the
# DLL, its import library, the .def file, zulpos.exe and tefsim.exe
# (component Runtime); beside it the header, the example hosts, the host
# guide and the reference (doc\, from cmake/docs.cmake) and
# README-Windows.txt (component Common). scripts/package.sh puts the Runtime
# of a second tree into the same zip.
include(CMakePackageConfigHelpers)

set(ZUL_EXAMPLES_DIR ${PROJECT_SOURCE_DIR}/examples)

if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(ZUL_WINDOWS_ARCH x64)
  else()
    set(ZUL_WINDOWS_ARCH x86)
  endif()
  install(TARGETS Pkg_Zul00500 zulpos tefsim
    RUNTIME DESTINATION ${ZUL_WINDOWS_ARCH} COMPONENT Runtime
    ARCHIVE DESTINATION ${ZUL_WINDOWS_ARCH} COMPONENT Runtime)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/exports/Pkg_Zul00500.def
    DESTINATION ${ZUL_WINDOWS_ARCH} COMPONENT Runtime)
  install(FILES include/Pkg_Zul00500.h DESTINATION include COMPONENT Common)
  install(FILES packaging/README-Windows.txt DESTINATION . COMPONENT Common)
  install(FILES ${ZUL_EXAMPLES_DIR}/c/sale_host.c DESTINATION examples/c COMPONENT Common)
  install(DIRECTORY ${ZUL_EXAMPLES_DIR}/pascal ${ZUL_EXAMPLES_DIR}/csharp
    DESTINATION examples COMPONENT Common)
  install(FILES docs/host-guide.md DESTINATION doc COMPONENT Common)
  return()
endif()

# --- Linux ---------------------------------------------------------------------
# The C header alone: for hosts that load the library at run time, as every
# host should, and need nothing else from the package at build time.
add_library(zul00500_header INTERFACE)
target_include_directories(zul00500_header INTERFACE
  $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include> $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
set_target_properties(zul00500_header PROPERTIES EXPORT_NAME header)

# The static library's objects call pugixml; a C++ host that links it links
# pugixml too (the shared library carries its own dependency).
target_link_libraries(zul00500 PUBLIC $<INSTALL_INTERFACE:pugixml::pugixml>)

install(TARGETS Pkg_Zul00500 zul00500_header EXPORT Zul00500Targets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS zul00500 EXPORT Zul00500StaticTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS zulpos tefsim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES include/Pkg_Zul00500.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
# The C++ headers, less the test double of the host services.
install(DIRECTORY include/zul00500 DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
  PATTERN scripted_host.h EXCLUDE)

set(ZUL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Zul00500)
install(EXPORT Zul00500Targets NAMESPACE Zul00500:: DESTINATION ${ZUL_CMAKE_DIR})
install(EXPORT Zul00500StaticTargets NAMESPACE Zul00500:: DESTINATION ${ZUL_CMAKE_DIR})
configure_package_config_file(cmake/Zul00500Config.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/package/Zul00500Config.cmake INSTALL_DESTINATION ${ZUL_CMAKE_DIR})
# While the major version is 0 a new minor version may change the interface.
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/package/Zul00500ConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/package/Zul00500Config.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/package/Zul00500ConfigVersion.cmake DESTINATION ${ZUL_CMAKE_DIR})

# The .pc file finds its prefix from where it lies, so that an unpacked
# archive works wherever it is.
file(RELATIVE_PATH ZUL_PC_PREFIX_FROM_PCDIR ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" ZUL_PC_PREFIX_FROM_PCDIR "${ZUL_PC_PREFIX_FROM_PCDIR}")
configure_file(cmake/Pkg_Zul00500.pc.in ${CMAKE_CURRENT_BINARY_DIR}/package/Pkg_Zul00500.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/package/Pkg_Zul00500.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The examples' sources; the C one builds against the installed package
# (CMakeLists.txt through find_package, Makefile through pkg-config).
set(ZUL_EXAMPLES_DEST ${CMAKE_INSTALL_DOCDIR}/examples)
install(FILES ${ZUL_EXAMPLES_DIR}/c/sale_host.c ${ZUL_EXAMPLES_DIR}/c/CMakeLists.txt
  ${ZUL_EXAMPLES_DIR}/c/Makefile DESTINATION ${ZUL_EXAMPLES_DEST}/c)
install(DIRECTORY ${ZUL_EXAMPLES_DIR}/pascal ${ZUL_EXAMPLES_DIR}/csharp DESTINATION ${ZUL_EXAMPLES_DEST})
# The host guide beside the reference (html/, from cmake/docs.cmake).
install(FILES docs/host-guide.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Bash completions, written by the programs themselves; a cross-build cannot
# run them.
if(NOT CMAKE_CROSSCOMPILING)
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
  install(FILES ${ZUL_COMPLETIONS} DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
endif()
