# 64-bit Windows programs: the same sources, for the tests where the kernel runs no 32-bit
# programs (see scripts/test).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
