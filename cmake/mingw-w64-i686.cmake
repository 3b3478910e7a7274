# SPDX-License-Identifier: GPL-3.0-or-later
# Cross build for 32-bit Windows with Debian's mingw-w64:
#   cmake --preset windows-x86
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ZELK_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
