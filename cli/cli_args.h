// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// zelkctl's command line: the global options and one command word, parsed
// without side effects so every misuse gets one clear message. The words
// after the command that are not global options are the command's own
// operands, which the command reads itself.

#include <string>
#include <vector>

namespace zelk::cli {

struct CliOptions {
  std::string command;                // a name from the command table
  std::vector<std::string> operands;  // the command's own words, in order
  std::string port;
  bool port_given = false;
  std::string vehicle;  // --vehicle: the vehicle on the bench, whose history keeps the records
  bool vehicle_given = false;
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
