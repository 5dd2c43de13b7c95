# The MinGW-w64 compiler for 64-bit Windows (the POSIX thread model, which
# std::thread and friends need) that KALDORA's Windows Qt is built with, and
# that programs built against that Qt load through Qt's qt.toolchain.cmake.
# Unlike cmake/mingw-toolchain.cmake it links nothing statically: Qt's DLLs
# use the shared C++ runtime, and a program that shares objects with them
# (exceptions, allocations across the DLL boundary) must use the same one.
# scripts/build-qt-windows installs a copy of this file next to Qt's
# toolchain file, so the installed Qt needs nothing from this tree.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KALDORA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KALDORA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KALDORA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KALDORA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KALDORA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
