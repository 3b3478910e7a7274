// SPDX-License-Identifier: GPL-3.0-or-later
#include "proc_figures.h"

#include <dirent.h>

#include <fstream>
#include <string>

namespace zelk::soak {

Footprint ReadFootprint() {
  Footprint figures;
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmRSS:")) figures.rss_kb = std::stol(line.substr(6));
  }
  if (DIR* dir = opendir("/proc/self/fd")) {
    while (const dirent* entry = readdir(dir)) {
      if (entry->d_name[0] != '.') ++figures.open_fds;
    }
    closedir(dir);
    --figures.open_fds;  // the directory's own descriptor
  }
  return figures;
}

}  // namespace zelk::soak
