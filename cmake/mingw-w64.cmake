# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (package
# g++-mingw-w64-x86-64): cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VERRINE_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VERRINE_MINGW_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${VERRINE_MINGW_TRIPLE}-g++)
set(CMAKE_RC_COMPILER ${VERRINE_MINGW_TRIPLE}-windres)

# Headers and libraries come only from the mingw-w64 sysroot, never from the
# host's /usr (a Linux libepoxy there must not be picked up); build tools
# come from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${VERRINE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
