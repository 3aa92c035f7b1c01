# What the MinGW-w64 toolchain files share: Debian's -posix compilers (their
# C++ runtime has std::thread and std::mutex) for the triplet the including
# file names in BRINDLE_MINGW_TRIPLET, everything linked statically so each
# .exe imports only the system's own DLLs, and the tests run through Wine.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${BRINDLE_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BRINDLE_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${BRINDLE_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${BRINDLE_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# A GoogleTest built for Windows is found through CMAKE_PREFIX_PATH.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# The programs import functions that Windows has from Vista on (handle lists
# for started programs, final path names): their headers say so, and an
# older system refuses to start them instead of failing on a missing entry.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT
       " -Wl,--major-subsystem-version,6 -Wl,--minor-subsystem-version,0")
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -Wl,--major-os-version,6 -Wl,--minor-os-version,0")
add_compile_definitions(_WIN32_WINNT=0x0600 WINVER=0x0600)

# ctest and the test discovery start the test binaries through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
# The test binaries are listed when ctest runs, with the Wine server up,
# not while they are built.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
