# Unit-test helpers. Native tests link the system GoogleTest; the cross build compiles Debian's
# GoogleTest sources with the MinGW toolchain and runs the tests under Wine (the emulator).

if(NOT QX_FUZZ)
  if(QX_WIN32)
    set(QX_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources for the cross build")
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    add_subdirectory(${QX_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    # The charset flags are for our sources, not GoogleTest's.
    foreach(t gtest gtest_main gmock gmock_main)
      target_compile_options(${t} PRIVATE -fexec-charset=UTF-8 -w)
    endforeach()
    add_library(qx_gtest INTERFACE)
    target_link_libraries(qx_gtest INTERFACE gmock gtest_main)
  else()
    find_package(GTest REQUIRED)
    add_library(qx_gtest INTERFACE)
    target_link_libraries(qx_gtest INTERFACE GTest::gmock GTest::gtest_main)
  endif()
endif()

# qx_add_gtest(<name> SOURCES <files...> [LIBS <targets...>] [LABELS <labels...>] [TIMEOUT <s>] [DESKTOP])
# One executable per unit; one CTest entry per executable. Cross-build tests run through Wine.
# DESKTOP: the test shows windows that can take the foreground. The Wine tests of one run share a
# desktop, and the end-to-end tests type and click into whatever window is in front, so such tests
# hold the desktop lock while they run.
function(qx_add_gtest name)
  cmake_parse_arguments(T "DESKTOP" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} qx_gtest)
  target_include_directories(${name} PRIVATE ${QX_ROOT})
  set(tree ${QX_WIN_TREE})
  set(labels ${tree} ${QX_WINE_LABEL} ${T_LABELS})
  add_test(NAME ${tree}.${name} COMMAND ${name} --gtest_color=no)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set_tests_properties(${tree}.${name} PROPERTIES LABELS "${labels}" TIMEOUT ${T_TIMEOUT})
  if(T_DESKTOP)
    set_tests_properties(${tree}.${name} PROPERTIES RESOURCE_LOCK wine_desktop)
  endif()
endfunction()
