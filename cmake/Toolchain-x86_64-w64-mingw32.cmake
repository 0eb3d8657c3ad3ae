# Cross build of the 64-bit Windows programs with MinGW-w64 (tested on machines that run no 32-bit code).
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(QX_MINGW_PREFIX x86_64-w64-mingw32)
set(QX_MINGW_WINE_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
