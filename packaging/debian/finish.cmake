# Run by CPack after it made the packages (CPACK_POST_BUILD_SCRIPTS): adds to
# each Debian package what CPack 3.25 cannot write itself, and checks it.
#   - "Multi-Arch: same" for the packages in CPACK_ZUL_MULTIARCH_SAME, whose
#     files live in the multiarch folder or are the same on every
#     architecture;
#   - for CPACK_ZUL_LDCONFIG_TRIGGER, the ldconfig trigger in place of the
#     maintainer scripts that call ldconfig, as dpkg does it today;
#   - the changelog's version must be the package's.
foreach(package_file IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package_file MATCHES "\\.deb$")
    continue()
  endif()
  set(tree ${package_file}.tree)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND dpkg-deb --raw-extract ${package_file} ${tree} COMMAND_ERROR_IS_FATAL ANY)
  set(control_file ${tree}/DEBIAN/control)
  file(READ ${control_file} control)
  string(REGEX MATCH "Package: ([^\n]+)" _ "${control}")
  set(package ${CMAKE_MATCH_1})
  string(REGEX MATCH "\nVersion: ([^\n]+)" _ "${control}")
  set(version ${CMAKE_MATCH_1})

  file(STRINGS ${CPACK_ZUL_CHANGELOG} first_line LIMIT_COUNT 1)
  if(NOT first_line MATCHES "^[a-z0-9.+-]+ \\(${version}\\) ")
    message(FATAL_ERROR "packaging/debian/changelog begins \"${first_line}\", "
                        "but the package's version is ${version}: add an entry for it")
  endif()

  if(package IN_LIST CPACK_ZUL_MULTIARCH_SAME AND NOT control MATCHES "\nMulti-Arch:")
    string(REGEX REPLACE "(^|\n)Architecture: ([^\n]+)" "\\1Architecture: \\2\nMulti-Arch: same" control
           "${control}")
    file(WRITE ${control_file} "${control}")
  endif()
  if(package STREQUAL CPACK_ZUL_LDCONFIG_TRIGGER)
    file(REMOVE ${tree}/DEBIAN/postinst ${tree}/DEBIAN/postrm)
    file(WRITE ${tree}/DEBIAN/triggers "activate-noawait ldconfig\n")
    file(CHMOD ${tree}/DEBIAN/triggers PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  endif()

  execute_process(COMMAND dpkg-deb --root-owner-group -Zxz --build ${tree} ${package_file}
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${tree})
  message(STATUS "finished ${package} ${version}: ${package_file}")
endforeach()
