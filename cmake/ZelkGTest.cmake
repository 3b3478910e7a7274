# SPDX-License-Identifier: GPL-3.0-or-later
# GoogleTest for the tests: Debian's installed libraries on the host, or, in a
# cross build for Windows, Debian's GoogleTest sources (package googletest)
# compiled with the cross compiler. Either way the targets are GTest::gtest,
# GTest::gtest_main, GTest::gmock and GTest::gmock_main.
if(CMAKE_CROSSCOMPILING AND WIN32)
  set(ZELK_GOOGLETEST_SOURCE_DIR /usr/src/googletest
      CACHE PATH "GoogleTest sources to build for the target")
  if(NOT EXISTS ${ZELK_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
    message(FATAL_ERROR "No GoogleTest sources in ${ZELK_GOOGLETEST_SOURCE_DIR}: "
                        "apt-get install googletest")
  endif()
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  # SYSTEM: their headers are outside our warning rules, as installed ones are.
  add_subdirectory(${ZELK_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest
                   EXCLUDE_FROM_ALL SYSTEM)
  # GoogleTest brings its own warning flags; ours (-Werror among them) are not
  # meant for third-party code.
  foreach(target gtest gtest_main gmock gmock_main)
    set_property(TARGET ${target} PROPERTY COMPILE_OPTIONS "")
  endforeach()
  foreach(target gtest gtest_main gmock gmock_main)
    if(NOT TARGET GTest::${target})
      add_library(GTest::${target} ALIAS ${target})
    endif()
  endforeach()
else()
  find_package(GTest REQUIRED)
endif()
