// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// zelkctl's commands: one row each, with what it needs of the port, its usage
// and help texts, and the function that does its work. The parser, the usage
// text and main() all read this one table.

#include <iosfwd>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_args.h"
#include "link/serial_line.h"
#include "session/session.h"

namespace zelk::cli {

enum class PortUse { none, optional, required };

// What a command works with: the streams, and the port given with --port,
// opened only when the command asks for it (so a command can refuse its
// operands before anything touches the port).
class CommandContext {
 public:
  CommandContext(const CliOptions& options, std::istream& in, std::ostream& out, std::ostream& err,
                 LineOpener opener = OpenPlatformSerialLine);
  ~CommandContext();
  CommandContext(const CommandContext&) = delete;
  CommandContext& operator=(const CommandContext&) = delete;

  bool has_port() const { return options.port_given; }
  // Opens --port on the first call (with the frame trace when --trace was
  // given). When it will not open, prints "Invalid COMM Port: <port>:
  // <reason>" on `err` and returns nullptr; the command then returns kExitUsage.
  Session* OpenSession();

  const CliOptions& options;
  std::istream& in;
  std::ostream& out;
  std::ostream& err;

 private:
  LineOpener opener_;
  std::unique_ptr<Session> session_;
  bool open_failed_ = false;
};

using CommandRun = int (*)(CommandContext& context, const std::vector<std::string>& operands);

struct CommandSpec {
  std::string_view name;
  PortUse port;
  std::string_view usage;  // after "zelkctl ": "[--trace] --port NAME version"
  std::string_view help;   // lines of the command's description, indented as in --help
  CommandRun run;
};

std::span<const CommandSpec> Commands();
const CommandSpec* FindCommand(std::string_view name);

// For a command that takes no operands: false after saying which one was unexpected.
bool NoOperands(CommandContext& context, const std::vector<std::string>& operands);

// For a command whose only operand may be --json: whether it was given, or
// nothing after saying which operand was unexpected.
std::optional<bool> JsonFlagOnly(CommandContext& context, const std::vector<std::string>& operands);

// "zelkctl: <message>" on err; returns kExitUsage.
int UsageError(CommandContext& context, std::string_view message);

}  // namespace zelk::cli
