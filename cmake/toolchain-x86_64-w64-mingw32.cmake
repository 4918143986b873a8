# 64-bit Windows (PE32+) build with mingw-w64 on Linux. Used to run and test on
# hosts that cannot execute 32-bit x86 code at all (then Wine can only run
# 64-bit programs); scripts/setup.sh picks it there.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TAMSAEK_MINGW_TRIPLET x86_64-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-w64-cross.cmake")
