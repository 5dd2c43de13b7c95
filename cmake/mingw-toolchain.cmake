# Cross-compiling for 64-bit Windows with MinGW-w64 (the POSIX thread model,
# which std::thread and friends need). Programs are linked statically, so
# they run on a bare Windows or under Wine without MinGW's DLLs.
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

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
