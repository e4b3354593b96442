# Cross-build for 64-bit Windows with Debian's mingw-w64 toolchain (posix threads, for
# std::thread and std::mutex). The executables link statically, so they need no DLL of the
# toolchain next to them, and run under Wine through the emulator below.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZORVI_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZORVI_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZORVI_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZORVI_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZORVI_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# GCC 12's -Wrestrict misfires inside libstdc++'s string code at -O2 (GCC bug 105329), far
# more often with this target's inlining; an explicit -Wno-restrict outlasts -Wall.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")

# ctest runs the Windows executables through Wine.
find_program(ZORVI_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(ZORVI_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZORVI_WINE})
endif()
