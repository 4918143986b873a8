# 64-bit Windows (PE32+) build with mingw-w64 on Linux: the second test lane,
# which keeps the code 64-bit clean, and the build the benchmark measures.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TAMSAEK_MINGW_TRIPLET x86_64-w64-mingw32)
set(TAMSAEK_WINE_ARCH win64)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-w64-cross.cmake")
