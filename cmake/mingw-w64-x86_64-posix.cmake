# Cross build for 64-bit Windows with Debian's mingw-w64 (posix thread model).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZOL_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZOL_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZOL_TRIPLET}-g++-posix)
include(${CMAKE_CURRENT_LIST_DIR}/windows-cross.cmake)
