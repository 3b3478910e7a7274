// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// zelkctl detect: the search for the module on every port of this computer
// (or the ports named), one line or one JSON object per port; and the
// version as JSON for `version --json`.

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "link/frame_link.h"
#include "session/find_module.h"
#include "session/session.h"

namespace zelk::cli {

// More names than this on one command line are refused (each further 32
// ports cost another failed exchange).
inline constexpr std::size_t kMaxDetectPorts = 256;

// "answered 2.10", "no answer", or why the port did not open.
std::string ProbeText(const PortProbe& probe);

// Writes one result per port of `probes`, then returns 0 when one answered,
// 1 when none did.
int PrintProbes(const std::vector<PortProbe>& probes, bool json, std::ostream& out);

// The search over `ports` (the listed ports when empty), stopped early by
// `stop`. An empty list says so on `err` (exit 1).
int RunDetect(const std::vector<std::string>& ports, bool json, const LineOpener& opener,
              const std::function<bool()>& stop, std::ostream& out, std::ostream& err);

// {"version":"2.10","major":2,"minor":10}; a failed or short reply gives
// the exit status and message of the plain version command.
int RunVersionJson(Session& session, std::ostream& out, std::ostream& err);

int DetectCommand(CommandContext& context, const std::vector<std::string>& operands);

}  // namespace zelk::cli
