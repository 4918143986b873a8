# The same 64-bit Windows build with Clang in place of GCC, on the mingw-w64
# headers and libraries: a second compiler that catches what one accepts and
# the other does not. ./test builds the program with it, warnings as errors.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TAMSAEK_MINGW_TRIPLET x86_64-w64-mingw32)

set(CMAKE_C_COMPILER clang)
set(CMAKE_C_COMPILER_TARGET ${TAMSAEK_MINGW_TRIPLET})
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET ${TAMSAEK_MINGW_TRIPLET})
set(CMAKE_RC_COMPILER ${TAMSAEK_MINGW_TRIPLET}-windres)

# Clang looks for GCC's run-time under a plain version number; Debian names
# it after its thread model. The -posix one, as the GCC builds use, named
# here with the mingw-w64 tree as the only system root (no host header).
file(GLOB TAMSAEK_GCC_DIRS LIST_DIRECTORIES true /usr/lib/gcc/${TAMSAEK_MINGW_TRIPLET}/*-posix)
if(NOT TAMSAEK_GCC_DIRS)
  message(FATAL_ERROR "no ${TAMSAEK_MINGW_TRIPLET} GCC (-posix) run-time: install g++-mingw-w64-x86-64")
endif()
list(GET TAMSAEK_GCC_DIRS 0 TAMSAEK_GCC_DIR)
set(TAMSAEK_CXX_INCLUDE ${TAMSAEK_GCC_DIR}/include/c++)
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES ${TAMSAEK_CXX_INCLUDE} ${TAMSAEK_CXX_INCLUDE}/${TAMSAEK_MINGW_TRIPLET}
  ${TAMSAEK_CXX_INCLUDE}/backward)
set(CMAKE_C_FLAGS_INIT --sysroot=/usr/${TAMSAEK_MINGW_TRIPLET})
set(CMAKE_CXX_FLAGS_INIT --sysroot=/usr/${TAMSAEK_MINGW_TRIPLET})
# GCC's -posix driver links the threads library on its own; Clang's does not
# (lld finds it wherever it stands on the line).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${TAMSAEK_GCC_DIR} -lpthread")

set(CMAKE_FIND_ROOT_PATH /usr/${TAMSAEK_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
