# Cross-compiles the Windows program for 32-bit x86 with MinGW-w64 (built and inspected only:
# these machines cannot run 32-bit x86 code).
set(VERDANTIX_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
