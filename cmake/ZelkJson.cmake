# SPDX-License-Identifier: GPL-3.0-or-later
# nlohmann-json (Debian's nlohmann-json3-dev), header-only, as the target
# zelk_json. The header is plain C++ and serves the Windows cross build too,
# but /usr/include must never reach a mingw compiler (it would pick up the
# host's C library headers): the include root is a folder of the build tree
# holding only a link `nlohmann` to the installed headers.
if(TARGET zelk_json)
  return()
endif()
find_path(ZELK_NLOHMANN_JSON_DIR nlohmann/json.hpp PATHS /usr/include NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH)
if(NOT ZELK_NLOHMANN_JSON_DIR)
  message(FATAL_ERROR "No nlohmann/json.hpp in /usr/include: apt-get install nlohmann-json3-dev")
endif()
set(zelk_json_root ${PROJECT_BINARY_DIR}/include-roots/nlohmann_json)
file(MAKE_DIRECTORY ${zelk_json_root})
file(CREATE_LINK ${ZELK_NLOHMANN_JSON_DIR}/nlohmann ${zelk_json_root}/nlohmann SYMBOLIC)
add_library(zelk_json INTERFACE)
# SYSTEM: the library's headers are outside our warning rules.
target_include_directories(zelk_json SYSTEM INTERFACE ${zelk_json_root})
