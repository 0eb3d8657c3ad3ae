# Cross build of the 32-bit Windows programs (the product) with MinGW-w64.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(QX_MINGW_PREFIX i686-w64-mingw32)
set(QX_MINGW_WINE_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
