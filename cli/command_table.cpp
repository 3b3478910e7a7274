// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command_table.h"

#include <array>
#include <ostream>

#include "cli/commands.h"
#include "cli/detect_command.h"
#include "cli/hex_text.h"
#include "cli/log_summary_command.h"
#include "cli/monitor_command.h"
#include "cli/program_commands.h"
#include "cli/settings_commands.h"
#include "cli/trace_printer.h"
#include "cli/vehicle_commands.h"
#include "text/terminal_text.h"

namespace zelk::cli {
namespace {

// In the order of the usage text.
constexpr std::array kCommands{
    CommandSpec{"version", PortUse::required, "[--trace] --port NAME version [--json]",
                "  version   print the module's version as MAJOR.MINOR; a reply without\n"
                "            a minor number prints the major alone and exits with 1;\n"
                "            --json: as {\"version\":\"2.10\",\"major\":2,\"minor\":10}\n",
                VersionCommand},
    CommandSpec{"raw", PortUse::required, "[--trace] --port NAME raw < requests",
                "  raw       send one request per input line:\n"
                "              COMMAND ADDRESS COUNT [PAYLOAD-HEX]\n"
                "            numbers decimal or 0x-hex (command 0..255, address 0..65535,\n"
                "            count 0..94); payload as hex digit pairs (\"0a0b0c\"), at most\n"
                "            COUNT bytes, missing bytes sent as zero; blank lines and lines\n"
                "            starting with '#' are skipped. Prints \"ok [REPLY-HEX]\" or\n"
                "            \"fail\" for each request.\n",
                RawCommand},
    CommandSpec{"monitor", PortUse::required,
                "[--trace] [--vehicle ID] --port NAME monitor [--count N]\n"
                "       zelkctl ... monitor [--interval MS] [--csv FILE] [--rpm-factor N]",
                "  monitor   poll the live values as the main window does and print a line\n"
                "            per poll, or with --csv FILE write them as CSV (- for standard\n"
                "            output): time_s, wall_clock, the six values, status, raw,\n"
                "            marker (empty here: markers are set in the window).\n"
                "            --interval MS from the start of one poll to the next (default\n"
                "            500, 0: back to back); --count N stops after N polls, else\n"
                "            Ctrl-C or SIGTERM ends it (exit 0); --rpm-factor 1, 2, 4 or 8\n"
                "            (default 1). A port that goes away ends it with exit 1.\n"
                "            With --vehicle ID and no --csv, the log also goes into the\n"
                "            vehicle's history beside the lines, its file named on stderr\n"
                "            (a log that cannot be made exits with 2)\n",
                MonitorCommand},
    CommandSpec{"log-summary", PortUse::none, "log-summary FILE [--json]",
                "  log-summary  read a live log (as the log review window reads it; FILE -\n"
                "            for standard input) and print its rows, fail rows, duration,\n"
                "            markers and the minimum, maximum and mean of each value over\n"
                "            the rows that carry it; a cut last line is left out and said.\n"
                "            --json: one object {rows, fail_rows, duration_s, cut,\n"
                "            markers: [{time_s, text}], values: {rpm: {min, max, mean},\n"
                "            ...}}. Exits with 0 for a log it read, 2 for a file it refuses\n",
                LogSummaryCommand},
    CommandSpec{"ports", PortUse::none, "ports",
                "  ports     list the serial ports of this computer\n", PortsCommand},
    CommandSpec{"detect", PortUse::none, "detect [--json] [PORT...]",
                "  detect    ask every serial port of this computer (or each PORT) for the\n"
                "            module's version, all at once: one line per port, \"answered\n"
                "            VERSION\", \"no answer\" or why it did not open; --json: an\n"
                "            array of {port, result, version or reason}. Exits with 0 when\n"
                "            a port answered, else 1\n",
                DetectCommand},
    CommandSpec{"program", PortUse::required,
                "[--trace] [--vehicle ID] --port NAME program mix PERCENT\n"
                "       zelkctl [--trace] --port NAME program reset\n"
                "       zelkctl [--trace] --port NAME program rpm [--timeout S]\n"
                "       zelkctl [--trace] --port NAME program map [--timeout S]",
                "  program   run a program of the module, as the programming dialogs do:\n"
                "              mix PERCENT  write the mixture byte for PERCENT (0, 25, 50,\n"
                "                           75 or 100) of the correction limit read from\n"
                "                           the module\n"
                "              reset        reset the module\n"
                "              rpm, map     start the RPM/lambda or MAP program and show\n"
                "                           its progress every 500 ms until the module\n"
                "                           ends it; the MAP program's prompts are\n"
                "                           printed when the module asks for them.\n"
                "                           Ctrl-C or --timeout S (seconds) aborts it\n"
                "                           and exits with 1\n",
                ProgramCommand},
    CommandSpec{"read", PortUse::required, "[--trace] [--vehicle ID] --port NAME read [--json]",
                "  read      read the settings and print them as a table (name, value,\n"
                "            unit), or with --json as a settings file; with --vehicle ID\n"
                "            they go into its history (reason read) unless its newest\n"
                "            settings record holds the same block\n",
                ReadCommand},
    CommandSpec{"backup", PortUse::required, "[--trace] [--vehicle ID] --port NAME backup FILE",
                "  backup    read the settings and save them as a settings file (.zelk;\n"
                "            FILE - is standard output); with --vehicle ID they also go\n"
                "            into its history (reason backup), as for read\n",
                BackupCommand},
    CommandSpec{"restore", PortUse::required,
                "[--trace] [--vehicle ID] --port NAME restore [--force] FILE",
                "  restore   save a restore point, write the settings of FILE (only the\n"
                "            setting bytes and option bits; the module's own bytes stay),\n"
                "            read them back and verify; a refused FILE sends nothing. A\n"
                "            block holding settings outside their ranges, or a file of\n"
                "            another major module version, is refused, naming why;\n"
                "            --force writes it anyway\n",
                RestoreCommand},
    CommandSpec{"set", PortUse::required, "[--trace] [--vehicle ID] --port NAME set NAME=VALUE...",
                "  set       save a restore point, change the named settings (names as in\n"
                "            a settings file, range-checked as the window checks them;\n"
                "            option boxes take true or false), write, read back, verify\n",
                SetCommand},
    CommandSpec{"edit", PortUse::none, "edit FILE NAME=VALUE... [-o OUT]",
                "  edit      change settings in a settings file with no module: names and\n"
                "            checks as for set; the file's block (module bytes and version)\n"
                "            is kept; written atomically in place or to OUT. A refused\n"
                "            assignment changes nothing and exits with 2\n",
                EditCommand},
    CommandSpec{"diff", PortUse::optional, "[--trace] [--port NAME] diff FILE [FILE2]",
                "  diff      the settings that differ between the module (or FILE2) and\n"
                "            FILE; exits with 0 when none differ, 3 when some do\n",
                DiffCommand},
    CommandSpec{"restore-points", PortUse::none, "[--vehicle ID] restore-points [--json]",
                "  restore-points  list the restore points saved before each write,\n"
                "            newest first: time, module version, reason, file; those\n"
                "            of no vehicle, or with --vehicle ID the vehicle's settings\n"
                "            records; --json: an array of {time, module_version, reason,\n"
                "            file}\n",
                RestorePointsCommand},
    CommandSpec{"vehicles", PortUse::none, "vehicles [--json] [SEARCH]",
                "  vehicles  list the workshop's vehicles, newest activity first: plate,\n"
                "            last activity, description, customer, phone; SEARCH keeps\n"
                "            those whose plate, description or customer hold it, ignoring\n"
                "            case and accents; --json: an array of objects\n",
                VehiclesCommand},
    CommandSpec{"vehicle", PortUse::none,
                "vehicle add ID [--name T] [--customer T] [--phone T] [--notes T]\n"
                "       zelkctl vehicle show ID [--json]\n"
                "       zelkctl vehicle note ID TEXT",
                "  vehicle   add a vehicle (ID: its plate, or a short name: 1 to 32 letters,\n"
                "            digits, spaces, hyphens and dots), show one with its history\n"
                "            newest first, or add a note to its history. An unknown or\n"
                "            refused ID, or one that exists (add), exits with 2\n",
                VehicleCommand},
};

}  // namespace

CommandContext::CommandContext(const CliOptions& options, std::istream& in, std::ostream& out,
                               std::ostream& err, LineOpener opener)
    : options(options), in(in), out(out), err(err), opener_(std::move(opener)) {}

CommandContext::~CommandContext() = default;

Session* CommandContext::OpenSession() {
  if (session_) return session_.get();
  if (open_failed_ || !options.port_given) return nullptr;
  auto session = std::make_unique<Session>(opener_);
  if (options.trace) session->SetTrace(MakeTracePrinter(err));
  if (!OpenPortOrSay(*session, options.port, err)) {
    open_failed_ = true;
    return nullptr;
  }
  session_ = std::move(session);
  return session_.get();
}

std::span<const CommandSpec> Commands() {
  return kCommands;
}

const CommandSpec* FindCommand(std::string_view name) {
  for (const CommandSpec& command : kCommands) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

bool NoOperands(CommandContext& context, const std::vector<std::string>& operands) {
  if (operands.empty()) return true;
  UsageError(context, "unexpected argument '" + operands.front() + "'");
  return false;
}

std::optional<bool> JsonFlagOnly(CommandContext& context,
                                 const std::vector<std::string>& operands) {
  const bool json = !operands.empty() && operands.front() == "--json";
  if (!NoOperands(context,
                  std::vector<std::string>(operands.begin() + (json ? 1 : 0), operands.end()))) {
    return std::nullopt;
  }
  return json;
}

int UsageError(CommandContext& context, std::string_view message) {
  context.err << "zelkctl: " << TerminalSafe(message) << '\n';
  return kExitUsage;
}

}  // namespace zelk::cli
