# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the mingw-w64 toolchain files: set ZELK_MINGW_TRIPLET and
# CMAKE_SYSTEM_PROCESSOR first. Uses Debian's posix-thread-model compilers
# (std::thread and std::mutex, which GoogleTest needs).
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${ZELK_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZELK_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ZELK_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZELK_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Self-contained executables: no libstdc++, libgcc or winpthread DLLs to ship
# beside them, nor to put on wine's search path.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest runs the .exe files under wine. The wrapper strips the CRs of Windows
# text-mode output, which gtest_discover_tests would otherwise take into the
# suite names; discovery waits for ctest, since the prefix is made only then.
find_program(ZELK_WINE_PROGRAM wine)
if(ZELK_WINE_PROGRAM)
  set(CMAKE_CROSSCOMPILING_EMULATOR bash ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
endif()
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
