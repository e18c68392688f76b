# Cross-builds the Windows program on Linux with MinGW-w64 (Debian packages
# g++-mingw-w64-x86-64-posix, binutils-mingw-w64-x86-64, mingw-w64-tools).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TS_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TS_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TS_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TS_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TS_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs built here run under Wine (tests, ctest).
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
