// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line of zelk-sim, parsed without touching the system so it
// can be tested anywhere.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sim/faults.h"
#include "sim/module.h"
#include "sim/pty_pacer.h"

namespace zelk::sim {

struct SimOptions {
  std::string link_path;  // empty: the caller picks the default
  FaultModes faults;
  std::array<std::uint8_t, 2> version{2, 10};
  EngineModelSettings engine;
  Pace pace = Pace::line;
  bool quiet = false;
  bool help = false;
  bool program_version = false;  // --version: print the program's version and exit
};

// `args` excludes the program name. Accepts "--flag VALUE" and "--flag=VALUE".
// On failure returns false with `error` set; `options` may be partly filled.
bool ParseSimOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error);

std::string SimUsage();

}  // namespace zelk::sim
