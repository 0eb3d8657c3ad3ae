# LZO: natively Debian's liblzo2; for the cross build, Debian's LZO source (fetched by
# scripts/fetch-lzo.sh into third_party/lzo, never committed) compiled as a static library.

if(QX_WIN32)
  set(QX_LZO_SOURCE_DIR ${QX_ROOT}/third_party/lzo CACHE PATH "LZO sources for the cross build")
  if(NOT EXISTS ${QX_LZO_SOURCE_DIR}/src/lzo1x_d1.c)
    message(FATAL_ERROR "LZO sources missing in ${QX_LZO_SOURCE_DIR}: run scripts/fetch-lzo.sh")
  endif()
  file(GLOB QX_LZO_SOURCES ${QX_LZO_SOURCE_DIR}/src/*.c)
  add_library(lzo2 STATIC ${QX_LZO_SOURCES})
  target_include_directories(lzo2 SYSTEM PUBLIC ${QX_LZO_SOURCE_DIR}/include)
  target_compile_options(lzo2 PRIVATE -w -O2)
  add_library(Lzo::lzo2 ALIAS lzo2)
else()
  find_path(QX_LZO_INCLUDE_DIR lzo/lzo1x.h REQUIRED)
  find_library(QX_LZO_LIBRARY NAMES lzo2 REQUIRED)
  add_library(Lzo::lzo2 UNKNOWN IMPORTED)
  set_target_properties(Lzo::lzo2 PROPERTIES IMPORTED_LOCATION ${QX_LZO_LIBRARY}
                                             INTERFACE_INCLUDE_DIRECTORIES ${QX_LZO_INCLUDE_DIR})
endif()
