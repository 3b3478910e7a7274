# SPDX-License-Identifier: GPL-3.0-or-later
# Cross build of the configurator for 64-bit Windows against the Qt that
# scripts/windows-qt.sh builds:   cmake --preset windows-x64-gui
# The Qt prefix comes from ZELK_QT_WIN_PREFIX, else the script's default.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake)

# Qt's DLLs use the mingw runtime DLLs (libstdc++, libgcc_s, winpthread), which
# ship beside them; the program links the same DLLs rather than a static copy,
# so that one C++ runtime serves the whole process (exceptions thrown in our
# handlers unwind through Qt's frames to Application::notify).
set(CMAKE_EXE_LINKER_FLAGS_INIT "")

if(DEFINED ENV{ZELK_QT_WIN_PREFIX})
  set(ZELK_QT_WIN_PREFIX "$ENV{ZELK_QT_WIN_PREFIX}")
else()
  set(ZELK_QT_WIN_PREFIX /var/cache/programable-zelk/qt6-mingw64-6.4.2)
endif()
list(APPEND CMAKE_FIND_ROOT_PATH ${ZELK_QT_WIN_PREFIX})
list(APPEND CMAKE_PREFIX_PATH ${ZELK_QT_WIN_PREFIX})
# moc, uic and rcc are Debian's Linux Qt 6.4.2 tools.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
