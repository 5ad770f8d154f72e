# What both MinGW-w64 toolchains share; the including file sets VERDANTIX_MINGW_PREFIX.
set(CMAKE_SYSTEM_NAME Windows)

# The -posix thread model has std::thread and std::mutex, which GoogleTest needs; linked
# statically it adds no DLL to the imports.
set(CMAKE_C_COMPILER ${VERDANTIX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VERDANTIX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VERDANTIX_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VERDANTIX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Windows 7 is the oldest system supported; newer functions are looked up at run time.
set(VERDANTIX_WINDOWS_DEFINES "-D_WIN32_WINNT=0x0601 -DWINVER=0x0601 -DUNICODE -D_UNICODE")
# Each function and datum in a section of its own, so that the linker can leave out what the
# program never calls of the statically linked C++ library.
set(CMAKE_C_FLAGS_INIT "${VERDANTIX_WINDOWS_DEFINES} -ffunction-sections -fdata-sections")
set(CMAKE_CXX_FLAGS_INIT "${VERDANTIX_WINDOWS_DEFINES} -ffunction-sections -fdata-sections")
set(CMAKE_RC_FLAGS_INIT "${VERDANTIX_WINDOWS_DEFINES}")

# A self-contained .exe that imports only system DLLs. The program's wide entry point
# (wWinMain) adds -municode to the program alone (platform/win32), since the console tests
# start at GoogleTest's narrow main.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--gc-sections")
# Release programs ship without symbols.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
