# What a build is: the commit and date of its source ("+dirty" when the tree
# had changes) and whether it is a release. Run at every build, in script
# mode, so that a new commit or a change in the tree shows without a new
# configure:
#
#   cmake -DSOURCE_DIR=... -DOUT_DIR=... -DRELEASE=ON|OFF -DVERSION=x.y.z
#         -P cmake/source_id.cmake
#
# Writes, only when their text changes (so that nothing rebuilds for naught):
#   OUT_DIR/zul_source_id.h          the id and the flag, for the library, the
#                                    tools and the Windows version resources
#   OUT_DIR/include/Pkg_Zul00500.h   the host's header as it is installed,
#                                    its ZUL_SOURCE_ID and ZUL_RELEASE filled in
#
# In a git checkout the id comes from git; in a tree exported by `git archive`
# (a source package) from cmake/source_id.txt, which the export fills in
# (export-subst in .gitattributes); elsewhere it is "unknown".
set(id "")
if(EXISTS ${SOURCE_DIR}/.git)
  find_program(ZUL_GIT git)
  if(ZUL_GIT)
    execute_process(COMMAND ${ZUL_GIT} -C ${SOURCE_DIR} log -1 --format=%h\ %cs
      OUTPUT_VARIABLE id OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed ERROR_QUIET)
    if(failed)
      set(id "")
    else()
      execute_process(COMMAND ${ZUL_GIT} -C ${SOURCE_DIR} status --porcelain --untracked-files=no
        OUTPUT_VARIABLE changes OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
      if(NOT changes STREQUAL "")
        string(APPEND id "+dirty")
      endif()
    endif()
  endif()
endif()
if(id STREQUAL "" AND EXISTS ${SOURCE_DIR}/cmake/source_id.txt)
  file(STRINGS ${SOURCE_DIR}/cmake/source_id.txt exported LIMIT_COUNT 1)
  if(NOT exported MATCHES "Format:" AND NOT exported STREQUAL "")
    set(id "${exported}")
  endif()
endif()
if(id STREQUAL "")
  set(id "unknown")
endif()
if(RELEASE)
  set(release 1)
  set(kind "release")
else()
  set(release 0)
  set(kind "development build")
endif()
string(REPLACE "." ";" parts "${VERSION}")
list(GET parts 0 major)
list(GET parts 1 minor)
list(GET parts 2 patch)

function(write_if_changed path text)
  if(EXISTS ${path})
    file(READ ${path} old)
    if(old STREQUAL text)
      return()
    endif()
  endif()
  file(WRITE ${path} "${text}")
endfunction()

write_if_changed(${OUT_DIR}/zul_source_id.h
"/* Made by cmake/source_id.cmake at build time: do not edit. */
#define ZUL_BUILD_SOURCE_ID \"${id}\"
#define ZUL_BUILD_RELEASE ${release}
#define ZUL_BUILD_VERSION \"${VERSION}\"
#define ZUL_BUILD_DESCRIPTION \"${VERSION} (${id}, ${kind})\"
#define ZUL_BUILD_VERSION_MAJOR ${major}
#define ZUL_BUILD_VERSION_MINOR ${minor}
#define ZUL_BUILD_VERSION_PATCH ${patch}
")

file(READ ${SOURCE_DIR}/include/Pkg_Zul00500.h header)
string(REPLACE "#define ZUL_SOURCE_ID \"\"" "#define ZUL_SOURCE_ID \"${id}\"" header "${header}")
string(REPLACE "#define ZUL_RELEASE 0" "#define ZUL_RELEASE ${release}" header "${header}")
write_if_changed(${OUT_DIR}/include/Pkg_Zul00500.h "${header}")
