# Cross-build for 32-bit Windows with Debian's mingw-w64: most point-of-sale
# hosts are 32-bit programs and load only a 32-bit DLL.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(ZUL_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
