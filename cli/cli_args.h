// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// zelkctl's command line: options and one command, parsed without side effects
// so every misuse gets one clear message.

#include <string>
#include <vector>

namespace zelk::cli {

enum class CliCommand { none, ports, version, raw };

struct CliOptions {
  CliCommand command = CliCommand::none;
  std::string port;
  bool trace = false;
  bool help = false;
  bool program_version = false;  // --version: the program's, not the module's
};

struct CliParse {
  bool ok = false;
  CliOptions options;
  std::string error;  // set when !ok
};

// `args` excludes the program name.
CliParse ParseCliArgs(const std::vector<std::string>& args);

std::string CliUsage();

}  // namespace zelk::cli
