# Cross-compiling the window-free parts for 64-bit Windows with MinGW-w64:
# the compiler of KALDORA's Windows Qt (scripts/qt-windows/mingw-toolchain.cmake),
# with programs linked statically, so they run on a bare Windows or under
# Wine without MinGW's DLLs. The programs built against Qt use Qt's own
# toolchain file, which loads the shared-runtime one.
include(${CMAKE_CURRENT_LIST_DIR}/../scripts/qt-windows/mingw-toolchain.cmake)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
