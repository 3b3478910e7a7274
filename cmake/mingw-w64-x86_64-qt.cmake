# SPDX-License-Identifier: GPL-3.0-or-later
# Toolchain for building Qt itself for 64-bit Windows (scripts/windows-qt.sh).
# The compilers of our own toolchain, without its test emulator and without
# static linking: Qt's DLLs use the mingw runtime DLLs, which ship beside them.
# scripts/windows-qt.sh copies this file into the Qt prefix, because the
# qt.toolchain.cmake that Qt installs refers back to it by path.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
