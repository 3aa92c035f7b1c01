# Cross-compiling the suite for 64-bit Windows, for test runs where only
# 64-bit Wine can be installed (the i386 packages of wine32 may be missing
# while a mirror syncs). The suite itself ships the 32-bit build.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(BRINDLE_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
