# 32-bit Windows (PE32) build with mingw-w64 on Linux: the product build.
#   cmake -S . -B build -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TAMSAEK_MINGW_TRIPLET i686-w64-mingw32)
set(TAMSAEK_WINE_ARCH win32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-w64-cross.cmake")
