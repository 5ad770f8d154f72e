# Cross-compiles the Windows program for 64-bit x86 with MinGW-w64; tests run through Wine.
set(VERDANTIX_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# ctest runs each test .exe through the 64-bit Wine loader (Debian puts none on PATH).
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
