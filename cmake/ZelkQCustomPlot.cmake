# SPDX-License-Identifier: GPL-3.0-or-later
# QCustomPlot, the live chart's plotting library, built from Debian's
# qcustomplot source package into a static library of this build: the same
# source for Linux and Windows, against qtbase alone (Widgets, PrintSupport).
# The source is fetched once into a cache outside the tree by
# scripts/qcustomplot-source.sh, which configure runs when it is missing.
set(ZELK_QCUSTOMPLOT_DIR "/var/cache/programable-zelk/qcustomplot"
    CACHE PATH "Where scripts/qcustomplot-source.sh keeps QCustomPlot's source")
set(_zelk_qcp_src ${ZELK_QCUSTOMPLOT_DIR}/src)
if(NOT EXISTS ${_zelk_qcp_src}/qcustomplot.cpp OR NOT EXISTS ${_zelk_qcp_src}/qcustomplot.h)
  message(STATUS "QCustomPlot: fetching Debian's source package into ${ZELK_QCUSTOMPLOT_DIR}")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env ZELK_QCUSTOMPLOT_DIR=${ZELK_QCUSTOMPLOT_DIR}
            bash ${PROJECT_SOURCE_DIR}/scripts/qcustomplot-source.sh
    RESULT_VARIABLE _zelk_qcp_result)
  if(NOT _zelk_qcp_result EQUAL 0)
    message(FATAL_ERROR "QCustomPlot: scripts/qcustomplot-source.sh failed (${_zelk_qcp_result})")
  endif()
endif()

find_package(Qt6 6.4 REQUIRED COMPONENTS PrintSupport)
add_library(zelk_qcustomplot STATIC ${_zelk_qcp_src}/qcustomplot.cpp ${_zelk_qcp_src}/qcustomplot.h)
set_target_properties(zelk_qcustomplot PROPERTIES AUTOMOC ON)
# Not our code: its warnings are not ours to fix, and its header is a system
# one for the code that includes it.
target_compile_options(zelk_qcustomplot PRIVATE -w -Wno-error)
target_include_directories(zelk_qcustomplot SYSTEM PUBLIC ${_zelk_qcp_src})
target_link_libraries(zelk_qcustomplot PUBLIC Qt6::Widgets Qt6::PrintSupport)
