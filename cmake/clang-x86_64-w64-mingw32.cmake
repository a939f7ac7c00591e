# Cross build for 64-bit Windows with clang and lld (Debian's clang-14) over
# the headers, C runtime and libstdc++ of Debian's mingw-w64 (posix thread
# model): the same Windows sources seen by a second compiler.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZOL_TRIPLET x86_64-w64-mingw32)
set(ZOL_CLANG_TARGET x86_64-w64-windows-gnu)
set(ZOL_SYSROOT /usr/${ZOL_TRIPLET})

find_program(ZOL_CLANG NAMES clang-14 clang REQUIRED)
find_program(ZOL_CLANGXX NAMES clang++-14 clang++ REQUIRED)
set(CMAKE_C_COMPILER ${ZOL_CLANG})
set(CMAKE_CXX_COMPILER ${ZOL_CLANGXX})
set(CMAKE_C_COMPILER_TARGET ${ZOL_CLANG_TARGET})
set(CMAKE_CXX_COMPILER_TARGET ${ZOL_CLANG_TARGET})

# clang looks for a GCC beside the mingw-w64 headers to borrow its C++
# library from, and Debian keeps that GCC's files under a folder named
# "<version>-posix", which clang does not recognise as a version. Name the
# folder of the newest such GCC here.
file(GLOB ZOL_GCC_DIRS LIST_DIRECTORIES true /usr/lib/gcc/${ZOL_TRIPLET}/*-posix)
list(SORT ZOL_GCC_DIRS COMPARE NATURAL ORDER DESCENDING)
list(GET ZOL_GCC_DIRS 0 ZOL_GCC_DIR)
if(NOT EXISTS ${ZOL_GCC_DIR}/include/c++/${ZOL_TRIPLET}/bits/c++config.h)
  message(FATAL_ERROR "no libstdc++ of a posix mingw-w64 GCC under /usr/lib/gcc/${ZOL_TRIPLET} "
                      "(install g++-mingw-w64-x86-64-posix)")
endif()

# --sysroot keeps the Linux headers in /usr/include out of the search.
# -femulated-tls: GCC's libstdc++ for mingw-w64 keeps its thread-locals
# (std::call_once's, which std::async uses) as emulated TLS, and code that
# links against it must reach them the same way; clang would use native TLS.
set(ZOL_CLANG_FLAGS "--sysroot=${ZOL_SYSROOT} -femulated-tls")
set(CMAKE_C_FLAGS_INIT "${ZOL_CLANG_FLAGS}")
set(CMAKE_CXX_FLAGS_INIT "${ZOL_CLANG_FLAGS} -isystem ${ZOL_GCC_DIR}/include/c++ -isystem ${ZOL_GCC_DIR}/include/c++/${ZOL_TRIPLET} -isystem ${ZOL_GCC_DIR}/include/c++/backward")
# libstdc++ of the posix thread model uses winpthreads, which the GCC driver
# links by itself and clang's only when asked with -pthread.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -pthread -L${ZOL_GCC_DIR}")

include(${CMAKE_CURRENT_LIST_DIR}/windows-cross.cmake)
