# CLI11 parses zulpos's and tefsim's command lines: Debian's libcli11-dev,
# header-only. The Windows cross-build compiles the same headers; it must not
# search the build machine's include folders, so their CLI folder alone is
# copied into the build tree.
if(CMAKE_CROSSCOMPILING)
  find_path(ZUL_CLI11_HOST_INCLUDE_DIR CLI/CLI.hpp PATHS /usr/include /usr/local/include
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
            DOC "The build machine's include folder holding CLI11's CLI/ folder")
  if(NOT ZUL_CLI11_HOST_INCLUDE_DIR)
    message(FATAL_ERROR "CLI11 not found: install libcli11-dev (scripts/deps.sh cross)")
  endif()
  set(ZUL_CLI11_COPY ${CMAKE_BINARY_DIR}/cli11)
  file(COPY ${ZUL_CLI11_HOST_INCLUDE_DIR}/CLI DESTINATION ${ZUL_CLI11_COPY})
  add_library(zul_cli11 INTERFACE)
  target_include_directories(zul_cli11 SYSTEM INTERFACE ${ZUL_CLI11_COPY})
else()
  find_package(CLI11 2.1 REQUIRED CONFIG)
  add_library(zul_cli11 INTERFACE)
  target_link_libraries(zul_cli11 INTERFACE CLI11::CLI11)
endif()
