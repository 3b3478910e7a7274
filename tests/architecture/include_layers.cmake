# SPDX-License-Identifier: GPL-3.0-or-later
# The layers' order, checked on every #include line: run with
#   cmake -DSOURCE_DIR=<project> -P include_layers.cmake
# A library may include its own headers and those of the layers below it
# (windows -> session -> settings/monitor/programming -> link); only the
# windows and their tests may include Qt or a generated ui_*.h.

# folder | the project folders its files may include
cmake_minimum_required(VERSION 3.25)

set(layers
  "text|text"
  "link|link text"
  "settings|settings text"
  "monitor|monitor settings text"
  "programming|programming settings link text"
  "settings_file|settings_file settings monitor text"
  "records|records settings_file settings monitor text"
  "session|session records settings_file settings monitor programming link text"
  "sim|sim link text"
  "cli|cli session records settings_file settings monitor programming link text"
  "app|app session records settings_file settings monitor programming link text"
)
set(project_folders app session records settings_file settings monitor programming link sim cli text)
# Folders whose files may include Qt.
set(qt_folders app tests/gui)
# Folders with no layer of their own, checked for Qt only.
set(qt_free_folders sim bench tests/architecture tests/cli tests/e2e tests/link tests/monitor
    tests/programming tests/records tests/session tests/settings tests/settings_file tests/sim tests/support
    tests/text)

set(violations "")

function(check_file file allowed qt_allowed)
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include")
  file(RELATIVE_PATH shown ${SOURCE_DIR} ${file})
  foreach(line IN LISTS lines)
    if(line MATCHES "#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"]")
      set(header ${CMAKE_MATCH_1})
      if(header MATCHES "^Q[A-Za-z]*(/|$)|^qt[a-z]*/|^ui_.*\\.h$")
        if(NOT qt_allowed)
          list(APPEND violations "${shown}: Qt outside the windows: #include ${header}")
        endif()
      elseif(allowed AND header MATCHES "^([a-z_]+)/")
        set(folder ${CMAKE_MATCH_1})
        if(folder IN_LIST project_folders AND NOT folder IN_LIST allowed)
          string(REPLACE ";" ", " may "${allowed}")
          list(APPEND violations
               "${shown}: includes ${header}, a layer above or beside it (it may include: ${may})")
        endif()
      endif()
    endif()
  endforeach()
  set(violations ${violations} PARENT_SCOPE)
endfunction()

function(check_folder folder allowed qt_allowed)
  file(GLOB files ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp
       ${SOURCE_DIR}/${folder}/*.h.in)
  foreach(file IN LISTS files)
    check_file(${file} "${allowed}" ${qt_allowed})
  endforeach()
  set(violations ${violations} PARENT_SCOPE)
endfunction()

foreach(entry IN LISTS layers)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 folder)
  list(GET parts 1 allowed)
  string(REPLACE " " ";" allowed "${allowed}")
  set(qt_allowed OFF)
  if(folder IN_LIST qt_folders)
    set(qt_allowed ON)
  endif()
  check_folder(${folder} "${allowed}" ${qt_allowed})
endforeach()
foreach(folder IN LISTS qt_free_folders)
  check_folder(${folder} "" OFF)
endforeach()

if(violations)
  list(JOIN violations "\n" report)
  message(FATAL_ERROR "Includes against the layers:\n${report}")
endif()
message(STATUS "Every include follows the layers.")
