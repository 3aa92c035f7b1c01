# Cross-compiling the suite for 64-bit Windows with Debian's MinGW-w64
# compilers, for test runs where only 64-bit Wine can be installed (the
# i386 packages of wine32 may be missing while a mirror syncs). The suite
# itself ships the 32-bit build (i686-w64-mingw32.cmake). Everything is linked statically, so each .exe imports only the
# system's own DLLs. Tests run through Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# A GoogleTest built for Windows is found through CMAKE_PREFIX_PATH.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# Windows 7 and later: handle lists for started programs, final path names.
add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601)

# ctest and the test discovery start the test binaries through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
# The test binaries are listed when ctest runs, with the Wine server up,
# not while they are built.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
