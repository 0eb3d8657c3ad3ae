# Compiler and linker flags of both builds.

if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # Sources are UTF-8; narrow literals become GBK bytes, as the programs show them.
  # (clang only knows UTF-8 here; the fuzz build does not depend on literal bytes.)
  add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-finput-charset=UTF-8> $<$<COMPILE_LANGUAGE:C,CXX>:-fexec-charset=GBK>)
endif()
add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-Wall> $<$<COMPILE_LANGUAGE:C,CXX>:-Wextra> $<$<COMPILE_LANGUAGE:C,CXX>:-Wno-unused-parameter>)

if(QX_WIN32)
  # ANSI APIs, Windows XP level headers and up; no UNICODE.
  add_compile_definitions(WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0600 NOMINMAX STRICT)
  # The GDI counter (platform/GdiCounter.h) is on for every unit of a tree or for none, so that objects made in
  # the libraries are counted where the tests read them.
  if(QX_GDI_COUNTER)
    add_compile_definitions(QX_GDI_COUNTER)
  endif()
  # Statically linked runtime: the programs run on a plain Windows machine without MinGW DLLs.
  add_link_options(-static -static-libgcc -static-libstdc++)
elseif(QX_FUZZ)
  add_compile_options(-fsanitize=address,undefined,fuzzer-no-link -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
elseif(QX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
