# The MinGW-w64 cross toolchain (posix thread model) for the prefix and Wine architecture that the including
# toolchain file sets: QX_MINGW_PREFIX (i686-w64-mingw32, x86_64-w64-mingw32) and QX_MINGW_WINE_ARCH (i686, x86_64).
set(CMAKE_SYSTEM_NAME Windows)

find_program(QX_MINGW_CC NAMES ${QX_MINGW_PREFIX}-gcc-posix ${QX_MINGW_PREFIX}-gcc REQUIRED)
find_program(QX_MINGW_CXX NAMES ${QX_MINGW_PREFIX}-g++-posix ${QX_MINGW_PREFIX}-g++ REQUIRED)
set(CMAKE_C_COMPILER ${QX_MINGW_CC})
set(CMAKE_CXX_COMPILER ${QX_MINGW_CXX})
set(CMAKE_RC_COMPILER ${QX_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every Windows executable (tests included) runs through the project's Wine runner, under the Wine of its own
# architecture.
set(CMAKE_CROSSCOMPILING_EMULATOR env QX_WIN_ARCH=${QX_MINGW_WINE_ARCH} ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
