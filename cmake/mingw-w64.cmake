# What both Windows toolchains share, for Debian's mingw-w64 with the prefix
# ZUL_MINGW_PREFIX (x86_64-w64-mingw32 or i686-w64-mingw32).
# The POSIX-threads variants are required: the win32-threads ones have no
# std::mutex, and GoogleTest does not compile with them.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${ZUL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZUL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZUL_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZUL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
