# Used by scripts/bench while the root CMakeLists.txt does not add this
# folder: passed as CMAKE_PROJECT_zolspar_INCLUDE, it reads bench/ into the
# root folder once the root has set its options and added everything else
# (CMake allows no add_subdirectory at that point, hence include), and does
# nothing when the root already added the folder itself.
set(ZOL_BENCH_LIST ${CMAKE_CURRENT_LIST_DIR}/CMakeLists.txt)
function(zol_bench_add_if_missing)
  if(NOT TARGET zolbench)
    include(${ZOL_BENCH_LIST})
  endif()
endfunction()
cmake_language(DEFER CALL zol_bench_add_if_missing)
