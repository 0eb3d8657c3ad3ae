# Cross build of the 64-bit Windows programs (tests on machines that run no 32-bit code) with MinGW-w64 (posix thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(QX_MINGW_PREFIX x86_64-w64-mingw32)
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

# Every Windows executable (tests included) runs through the project's Wine runner.
set(CMAKE_CROSSCOMPILING_EMULATOR env QX_WIN_ARCH=x86_64 ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
