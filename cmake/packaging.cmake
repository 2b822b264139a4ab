# CPack: on Linux a .tar.gz of the whole install and three Debian packages,
# one per component; on Windows a .zip. scripts/package.sh makes them all from
# Release trees, the zip from an x64 and an x86 tree.
#
#   libpkg-zul00500-0.1   Runtime      the shared library, in the multiarch
#                                      folder; named after its soname,
#                                      libPkg_Zul00500.so.0.1
#   libpkg-zul00500-dev   Development  header, .so link, CMake and pkg-config
#                                      files, example hosts
#   zul00500-tools        Tools        zulpos, tefsim, completions, manual pages
#
# Each carries the machine-readable copyright file (ours, and a stanza for
# each component compiled in or shipped), THIRD-PARTY-NOTICES and the
# changelog (packaging/debian/); packaging/debian/finish.cmake adds what CPack cannot
# write itself (Multi-Arch, the ldconfig trigger) once they are made.
set(CPACK_PACKAGE_NAME zul00500)
set(CPACK_PACKAGE_VENDOR "the Zul00500 authors")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(ZUL_PACKAGE_MAINTAINER "Zul00500 maintainers <maintainers@zul00500.example>" CACHE STRING
    "Maintainer named in the Debian packages")
set(CPACK_PACKAGE_CONTACT ${ZUL_PACKAGE_MAINTAINER})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME zul00500-${PROJECT_VERSION}-windows)
  include(CPack)
  return()
endif()

set(CPACK_GENERATOR "TGZ;DEB")
set(CPACK_PACKAGE_FILE_NAME zul00500-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
# The .tar.gz holds every component; the Debian packages one each, and not
# the license and notices of the plain install (component Notices), which
# they carry in their own documentation folders.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/packaging/cpack_project.cmake)
file(WRITE ${CPACK_PROJECT_CONFIG_FILE} [[
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_COMPONENTS_ALL Runtime Development Tools)
endif()
]])

set(ZUL_DEB_RUNTIME libpkg-zul00500-${ZUL_SOVERSION})
set(ZUL_DEB_DEVELOPMENT libpkg-zul00500-dev)
set(ZUL_DEB_TOOLS zul00500-tools)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE zul00500)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")

# Each description is its synopsis, then paragraphs that CPack indents (an
# empty line between them).
set(ZUL_DEB_ABOUT [[
Pkg_Zul00500 lets a retail point-of-sale program pay by card or cheque,
print the card receipts on its fiscal printer, and confirm, cancel and undo
pending payments. It never talks to a bank: every operation is an exchange
of small text files with a TEF manager program on the same machine.]])

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME ${ZUL_DEB_RUNTIME})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION "card payments for the point of sale (shared library)
${ZUL_DEB_ABOUT}

This package holds the shared library, which the host program loads at run
time and calls through its C interface.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME ${ZUL_DEB_DEVELOPMENT})
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS Runtime)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SUGGESTS "pkg-config, cmake")
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION "card payments for the point of sale (development files)
${ZUL_DEB_ABOUT}

This package holds what a host program is built with: the C header
Pkg_Zul00500.h, the link to the shared library, a CMake package
(find_package(Zul00500)), a pkg-config file (Pkg_Zul00500), and example
hosts in C, Free Pascal and C#.")

set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME ${ZUL_DEB_TOOLS})
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION utils)
# zulpos loads the library at run time, as a host does: shlibdeps cannot see
# that dependency, the component dependency names it.
set(CPACK_COMPONENT_TOOLS_DEPENDS Runtime)
set(CPACK_DEBIAN_TOOLS_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_TOOLS_DESCRIPTION "card payments for the point of sale (zulpos and tefsim)
${ZUL_DEB_ABOUT}

This package holds zulpos, a command-line host that loads the package and
runs its routines (sales, printing, cancellations, scans) against a TEF
manager, and tefsim, a TEF manager simulator that answers like one, so that
everything can be tried and rehearsed on one machine.")

# The copyright file, the third-party notices and the changelog of each Debian
# package, in its own documentation folder. Left out of a plain install and of the .tar.gz
# (EXCLUDE_FROM_ALL); each component's install, which the Debian packages
# are made from, includes them.
set(ZUL_CHANGELOG ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${ZUL_CHANGELOG}
  COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/debian/changelog > ${ZUL_CHANGELOG}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/debian/changelog
  COMMENT "Compressing the Debian changelog")
add_custom_target(zul_debian_changelog ALL DEPENDS ${ZUL_CHANGELOG})
foreach(component Runtime Development Tools)
  string(TOUPPER ${component} upper)
  set(doc ${CMAKE_INSTALL_DATAROOTDIR}/doc/${ZUL_DEB_${upper}})
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/copyright ${PROJECT_SOURCE_DIR}/THIRD-PARTY-NOTICES
    ${ZUL_CHANGELOG} DESTINATION ${doc} COMPONENT ${component} EXCLUDE_FROM_ALL)
endforeach()

set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/packaging/debian/finish.cmake)
set(CPACK_ZUL_MULTIARCH_SAME "${ZUL_DEB_RUNTIME};${ZUL_DEB_DEVELOPMENT}")
set(CPACK_ZUL_LDCONFIG_TRIGGER ${ZUL_DEB_RUNTIME})
set(CPACK_ZUL_CHANGELOG ${PROJECT_SOURCE_DIR}/packaging/debian/changelog)
include(CPack)
