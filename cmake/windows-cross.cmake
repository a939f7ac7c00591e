# What every cross build for Windows here shares: the toolchain file that
# includes this sets CMAKE_SYSTEM_PROCESSOR, ZOL_TRIPLET and its compilers
# first. Libraries and headers come from the mingw-w64 tree of the triplet,
# programs from the build machine, and the tests of the Windows build run
# under Wine.
if(NOT ZOL_TRIPLET)
  message(FATAL_ERROR "set ZOL_TRIPLET before including windows-cross.cmake")
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_RC_COMPILER ${ZOL_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZOL_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
find_program(ZOL_WINE wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${ZOL_WINE})
