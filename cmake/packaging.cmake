# CPack: a .tar.gz and a .deb of the Linux install, or a .zip of the Windows
# one. scripts/package.sh makes them all, the zip from an x64 and an x86 tree.
set(CPACK_PACKAGE_NAME zul00500)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Card payments for the point of sale: the Pkg_Zul00500 package, its C interface, zulpos and tefsim")
set(CPACK_PACKAGE_CONTACT "Pkg_Zul00500 maintainers <pkg-zul00500@localhost>" CACHE STRING
    "Maintainer named in the .deb")
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_PACKAGE_CHECKSUM SHA256)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME zul00500-${PROJECT_VERSION}-windows)
else()
  set(CPACK_GENERATOR "TGZ;DEB")
  set(CPACK_PACKAGE_FILE_NAME zul00500-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION libs)
  # The libraries it loads (pugixml, the C++ runtime) as dpkg-shlibdeps finds them.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # For C++ hosts that link the static library.
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libpugixml-dev, pkg-config, cmake")
endif()
include(CPack)
