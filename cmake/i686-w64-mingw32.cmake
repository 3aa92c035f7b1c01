# Cross-compiling the suite for 32-bit Windows, the build the suite ships.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(BRINDLE_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
