# toml++ reads the rehearsal books (tools/rehearsal): Debian's
# libtomlplusplus-dev, used from its headers alone, so that the Windows
# cross-build compiles the same headers and zulpos needs no shared library of
# it. Its implementation is compiled once, in tools/rehearsal/toml_reader.cpp
# (TOML_IMPLEMENTATION); every other file sees the declarations only. The
# cross-build must not search the build machine's include folders, so the
# toml++ folder alone is copied into the build tree there.
find_path(ZUL_TOMLPP_HOST_INCLUDE_DIR toml++/toml.h PATHS /usr/include /usr/local/include
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
          DOC "The build machine's include folder holding toml++'s toml++/ folder")
if(NOT ZUL_TOMLPP_HOST_INCLUDE_DIR)
  message(FATAL_ERROR "toml++ not found: install libtomlplusplus-dev (scripts/deps.sh build)")
endif()
if(CMAKE_CROSSCOMPILING)
  set(ZUL_TOMLPP_INCLUDE_DIR ${CMAKE_BINARY_DIR}/tomlplusplus)
  file(COPY ${ZUL_TOMLPP_HOST_INCLUDE_DIR}/toml++ DESTINATION ${ZUL_TOMLPP_INCLUDE_DIR})
else()
  set(ZUL_TOMLPP_INCLUDE_DIR ${ZUL_TOMLPP_HOST_INCLUDE_DIR})
endif()
add_library(zul_tomlplusplus INTERFACE)
target_include_directories(zul_tomlplusplus SYSTEM INTERFACE ${ZUL_TOMLPP_INCLUDE_DIR})
target_compile_definitions(zul_tomlplusplus INTERFACE TOML_HEADER_ONLY=0)
