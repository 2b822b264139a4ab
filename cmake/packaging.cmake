# CPack: on Linux a .tar.gz of the whole install, on Windows a .zip.
# scripts/package.sh makes them from Release trees, the zip from an x64 and
# an x86 tree. The Debian packages are not CPack's: debian/ builds them with
# debhelper (dpkg-buildpackage), from the same install rules and components:
#
#   libpkg-zul00500-0.1   Runtime      the shared library, in the multiarch
#                                      folder; named after its soname,
#                                      libPkg_Zul00500.so.0.1
#   libpkg-zul00500-dev   Development  header, .so link, CMake and pkg-config
#                                      files, example hosts, host guide and
#                                      reference
#   zul00500-tools        Tools        zulpos, tefsim, completions, manual pages
set(CPACK_PACKAGE_NAME zul00500)
set(CPACK_PACKAGE_VENDOR "the Zul00500 authors")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Zul00500 maintainers <maintainers@zul00500.example>")
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

set(CPACK_GENERATOR TGZ)
set(CPACK_PACKAGE_FILE_NAME zul00500-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
include(CPack)
