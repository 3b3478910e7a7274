// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An invariant of a fuzz target: a violation prints what broke and aborts,
// so libFuzzer keeps the input as a crash artifact.

#include <cstdio>
#include <cstdlib>

#define ZELK_FUZZ_CHECK(condition)                                                           \
  do {                                                                                       \
    if (!(condition)) {                                                                      \
      std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                          \
    }                                                                                        \
  } while (false)
