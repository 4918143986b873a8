# Shared part of the mingw-w64 toolchain files; set TAMSAEK_MINGW_TRIPLET,
# CMAKE_SYSTEM_PROCESSOR and TAMSAEK_WINE_ARCH before including it.

set(CMAKE_SYSTEM_NAME Windows)

# The -posix variants: the win32 thread model lacks std::mutex, which GoogleTest needs.
set(CMAKE_C_COMPILER ${TAMSAEK_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAMSAEK_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TAMSAEK_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TAMSAEK_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest runs the Windows test executables (and gtest discovery) through Wine in
# the prefix of this build's own lane, whatever the calling shell has set.
get_filename_component(TAMSAEK_WINE_RUN "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run" ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR env TAMSAEK_WINE_ARCH=${TAMSAEK_WINE_ARCH} "${TAMSAEK_WINE_RUN}")
