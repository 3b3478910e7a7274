// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The process's own footprint, read from /proc, for a run that must stay flat.

#include <cstddef>

namespace zelk::soak {

struct Footprint {
  long rss_kb = -1;          // VmRSS, -1 when unreadable
  std::size_t open_fds = 0;  // entries of /proc/self/fd
};

Footprint ReadFootprint();

}  // namespace zelk::soak
