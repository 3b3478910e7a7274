// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The work behind each zelkctl command, on a session the caller has opened,
// writing to the streams it is given (so tests can run them in-process).

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "session/session.h"

namespace zelk::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitCommunication = 1;  // the module did not answer as needed
inline constexpr int kExitUsage = 2;          // bad usage, bad input or a port that will not open

int RunPorts(const std::vector<std::string>& ports, std::ostream& out);

// Prints MAJOR.MINOR. A reply without both numbers is a failed exchange:
// "Communication Fail" on `err` (exit 1), as for silence.
int RunVersion(Session& session, std::ostream& out, std::ostream& err);

// Input lines longer than this are refused ("line too long") and skipped.
inline constexpr std::size_t kMaxRawLine = 4096;

// One exchange per request line of `in`; "ok <hex>" or "fail" for each,
// flushed at once. Exit 1 if any request failed, else 2 if any line was bad.
// Once a device error has closed the port, the next request line stops the
// run (exit 1) instead of failing line after line.
int RunRaw(Session& session, std::istream& in, std::ostream& out, std::ostream& err);

// Opens the port for version/raw; on failure prints
// "Invalid COMM Port: <port>: <reason>" on `err` and returns false.
bool OpenPortOrSay(Session& session, const std::string& port, std::ostream& err);

// The table's rows for the commands above.
int PortsCommand(CommandContext& context, const std::vector<std::string>& operands);
int VersionCommand(CommandContext& context, const std::vector<std::string>& operands);
int RawCommand(CommandContext& context, const std::vector<std::string>& operands);

// zelkctl --version: the program's own version.
int RunProgramVersion(std::ostream& out);

}  // namespace zelk::cli
