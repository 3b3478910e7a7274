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
  file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/windows-qt.env zelk_qt_win_env REGEX "^ZELK_QT_WIN_")
  foreach(line IN LISTS zelk_qt_win_env)
    string(REGEX MATCH "^([A-Z_]+)=(.*)$" zelk_matched "${line}")
    set(${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
  endforeach()
  set(ZELK_QT_WIN_PREFIX ${ZELK_QT_WIN_CACHE}/qt6-mingw64-${ZELK_QT_WIN_VERSION})
endif()
list(APPEND CMAKE_FIND_ROOT_PATH ${ZELK_QT_WIN_PREFIX})
list(APPEND CMAKE_PREFIX_PATH ${ZELK_QT_WIN_PREFIX})
# moc, uic and rcc are Debian's Linux Qt tools, of the same version.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
