// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_args.h"

#include <string_view>

namespace zelk::cli {
namespace {

struct CommandName {
  std::string_view name;
  CliCommand command;
  bool needs_port;
};

constexpr CommandName kCommands[] = {
    {"ports", CliCommand::ports, false},
    {"version", CliCommand::version, true},
    {"raw", CliCommand::raw, true},
};

const CommandName* FindCommand(std::string_view name) {
  for (const CommandName& command : kCommands) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

CliParse Failure(std::string error) {
  CliParse parse;
  parse.error = std::move(error);
  return parse;
}

}  // namespace

CliParse ParseCliArgs(const std::vector<std::string>& args) {
  CliParse parse;
  CliOptions& options = parse.options;
  const CommandName* command = nullptr;
  bool port_given = false;

  auto take_port = [&](const std::string& name) -> bool {
    if (port_given) return false;
    options.port = name;
    port_given = true;
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
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Failure("unknown option '" + arg + "'");
    } else if (command != nullptr) {
      return Failure("unexpected argument '" + arg + "'");
    } else {
      command = FindCommand(arg);
      if (command == nullptr) return Failure("unknown command '" + arg + "'");
    }
  }

  if (command == nullptr) return Failure("no command given");
  if (command->needs_port && !port_given) {
    return Failure(std::string(command->name) + " needs --port NAME");
  }
  options.command = command->command;
  parse.ok = true;
  return parse;
}

std::string CliUsage() {
  return "usage: zelkctl [--trace] --port NAME version\n"
         "       zelkctl [--trace] --port NAME raw < requests\n"
         "       zelkctl ports\n"
         "       zelkctl --help\n"
         "       zelkctl --version\n"
         "\n"
         "Talks to a Zelk module on a serial port (19200 8N1).\n"
         "\n"
         "  ports     list the serial ports of this computer\n"
         "  version   print the module's version as MAJOR.MINOR; a reply without\n"
         "            a minor number prints the major alone and exits with 1\n"
         "  raw       send one request per input line:\n"
         "              COMMAND ADDRESS COUNT [PAYLOAD-HEX]\n"
         "            numbers decimal or 0x-hex (command 0..255, address 0..65535,\n"
         "            count 0..94); payload as hex digit pairs (\"0a0b0c\"), at most\n"
         "            COUNT bytes, missing bytes sent as zero; blank lines and lines\n"
         "            starting with '#' are skipped. Prints \"ok [REPLY-HEX]\" or\n"
         "            \"fail\" for each request.\n"
         "\n"
         "  --port NAME  the port: ttyUSB0 (under /dev), a path, or COM5 on Windows\n"
         "  --trace      write every frame sent and received to stderr\n"
         "  --version    print this program's version (the module's: the version command)\n"
         "\n"
         "Exit status: 0 success; 1 communication failure (raw: a request failed);\n"
         "2 the port cannot be opened, bad usage, or (raw) a bad input line.\n";
}

}  // namespace zelk::cli
