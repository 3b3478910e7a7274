// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_args.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "cli/command_table.h"

namespace zelk::cli {
namespace {

CliParse Failure(std::string error) {
  CliParse parse;
  parse.error = std::move(error);
  return parse;
}

// The commands whose records go into the vehicle on the bench.
bool TakesVehicle(std::string_view command) {
  constexpr std::array<std::string_view, 7> kCommands{"read", "backup",  "monitor",       "restore",
                                                      "set",  "program", "restore-points"};
  return std::find(kCommands.begin(), kCommands.end(), command) != kCommands.end();
}

}  // namespace

CliParse ParseCliArgs(const std::vector<std::string>& args) {
  CliParse parse;
  CliOptions& options = parse.options;
  const CommandSpec* command = nullptr;

  auto take_port = [&](const std::string& name) -> bool {
    if (options.port_given) return false;
    options.port = name;
    options.port_given = true;
    return true;
  };

  auto take_vehicle = [&](const std::string& id) -> bool {
    if (options.vehicle_given) return false;
    options.vehicle = id;
    options.vehicle_given = true;
    return true;
  };

  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      parse.ok = true;
      return parse;
    }
    if (arg == "--version") {
      options.program_version = true;
      parse.ok = true;
      return parse;
    }
    if (arg == "--trace") {
      options.trace = true;
    } else if (arg == "--port") {
      if (i + 1 >= args.size() || args[i + 1].starts_with("--")) {
        return Failure("--port needs a port name");
      }
      if (!take_port(args[++i])) return Failure("--port given more than once");
    } else if (arg.starts_with("--port=")) {
      if (!take_port(arg.substr(7))) return Failure("--port given more than once");
    } else if (arg == "--vehicle") {
      if (i + 1 >= args.size() || args[i + 1].starts_with("--")) {
        return Failure("--vehicle needs a plate or name");
      }
      if (!take_vehicle(args[++i])) return Failure("--vehicle given more than once");
    } else if (arg.starts_with("--vehicle=")) {
      if (!take_vehicle(arg.substr(10))) return Failure("--vehicle given more than once");
    } else if (command != nullptr) {
      options.operands.push_back(arg);
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Failure("unknown option '" + arg + "'");
    } else {
      command = FindCommand(arg);
      if (command == nullptr) return Failure("unknown command '" + arg + "'");
    }
  }

  if (command == nullptr) return Failure("no command given");
  if (command->port == PortUse::required && !options.port_given) {
    return Failure(std::string(command->name) + " needs --port NAME");
  }
  if (command->port == PortUse::none && options.port_given) {
    return Failure(std::string(command->name) + " takes no --port");
  }
  if (options.vehicle_given && !TakesVehicle(command->name)) {
    return Failure(std::string(command->name) + " takes no --vehicle");
  }
  options.command = std::string(command->name);
  parse.ok = true;
  return parse;
}

std::string CliUsage() {
  std::string usage;
  bool first = true;
  for (const CommandSpec& command : Commands()) {
    usage += first ? "usage: zelkctl " : "       zelkctl ";
    usage += command.usage;
    usage += '\n';
    first = false;
  }
  usage +=
      "       zelkctl --help\n"
      "       zelkctl --version\n"
      "\n"
      "Talks to a Zelk module on a serial port (19200 8N1).\n"
      "\n";
  for (const CommandSpec& command : Commands()) usage += command.help;
  usage +=
      "\n"
      "  --port NAME  the port: ttyUSB0 (under /dev), a path, or COM5 on Windows\n"
      "  --trace      write every frame sent and received to stderr\n"
      "  --vehicle ID the vehicle on the bench (read, backup: its history keeps the\n"
      "               settings, unless the same as its newest; restore, set: the\n"
      "               restore point, all of them; program: it records the run;\n"
      "               monitor: it keeps the live log, unless --csv says where;\n"
      "               restore-points: lists its own); an unknown ID exits with 2\n"
      "               before the port is opened; settings or a run it cannot\n"
      "               record exit with 1\n"
      "  --version    print this program's version (the module's: the version command)\n"
      "\n"
      "Exit status: 0 success; 1 communication failure (raw: a request failed);\n"
      "2 the port cannot be opened, bad usage, (raw) a bad input line, a\n"
      "settings file refused or not written, or (log-summary) a file that is\n"
      "not a log; 3 the settings differ (diff: a difference; restore, set:\n"
      "the read back is not what was written).\n";
  return usage;
}

}  // namespace zelk::cli
