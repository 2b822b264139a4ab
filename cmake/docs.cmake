# The host's reference: HTML made by Doxygen from include/Pkg_Zul00500.h,
# with docs/host-guide.md as its front page. `cmake --build --preset default
# --target docs`; every build makes it when Doxygen is there. With our
# presets (ZUL_WARNINGS_AS_ERRORS) a warning fails it, an undocumented
# parameter included. Installed under share/doc/zul00500/html (doc\html in
# the Windows zip).
find_package(Doxygen QUIET)

set(ZUL_DOCS_OUTPUT ${CMAKE_BINARY_DIR}/docs)
set(ZUL_DOCS_HTML ${ZUL_DOCS_OUTPUT}/html)

if(NOT DOXYGEN_FOUND)
  add_custom_target(docs
    COMMAND ${CMAKE_COMMAND} -E echo "The reference needs Doxygen: bash scripts/deps.sh docs"
    COMMAND ${CMAKE_COMMAND} -E false)
  return()
endif()

if(ZUL_WARNINGS_AS_ERRORS)
  set(ZUL_DOCS_WARN_AS_ERROR FAIL_ON_WARNINGS)
else()
  set(ZUL_DOCS_WARN_AS_ERROR NO)
endif()
configure_file(${PROJECT_SOURCE_DIR}/docs/Doxyfile.in ${ZUL_DOCS_OUTPUT}/Doxyfile @ONLY)

add_custom_command(OUTPUT ${ZUL_DOCS_HTML}/index.html
  # A page removed from the header must not linger in the tree.
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${ZUL_DOCS_HTML}
  COMMAND ${DOXYGEN_EXECUTABLE} ${ZUL_DOCS_OUTPUT}/Doxyfile
  DEPENDS ${PROJECT_SOURCE_DIR}/include/Pkg_Zul00500.h ${PROJECT_SOURCE_DIR}/docs/host-guide.md
          ${ZUL_DOCS_OUTPUT}/Doxyfile
  WORKING_DIRECTORY ${ZUL_DOCS_OUTPUT}
  COMMENT "Making the host's reference with Doxygen (${ZUL_DOCS_HTML})"
  VERBATIM)
add_custom_target(docs ALL DEPENDS ${ZUL_DOCS_HTML}/index.html)

if(WIN32)
  install(DIRECTORY ${ZUL_DOCS_HTML} DESTINATION doc COMPONENT Common)
else()
  install(DIRECTORY ${ZUL_DOCS_HTML} DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT Development)
endif()
