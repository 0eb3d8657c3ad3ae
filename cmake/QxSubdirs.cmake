# qx_add_subdirs(): adds every subfolder of the current source folder that has a CMakeLists.txt, in
# name order, so that each subsystem keeps its tests, benchmarks, fuzz targets or tools in a folder
# of its own without editing a shared list.
function(qx_add_subdirs)
  file(GLOB subdirs LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT subdirs)
  foreach(d ${subdirs})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${d}/CMakeLists.txt)
      add_subdirectory(${d})
    endif()
  endforeach()
endfunction()
