// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// zelkctl program: what the programming dialogs do, from a shell. The mix
// program writes the mixture byte computed from the correction limit the
// module holds; reset sends the reset; the RPM/lambda and MAP programs are
// started and followed every 500 ms with the progress dialog's two readings
// (the live snapshot, then the status byte) until the module ends them. A
// stop (SIGINT, SIGTERM) or the time-out sends the abort and exits with 1.

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "programming/program_kind.h"
#include "programming/program_status.h"
#include "records/vehicle_history.h"
#include "session/session.h"

namespace zelk::cli {

inline constexpr double kProgressTickMs = 500;  // the progress dialog's timer

// The prompts the MAP program asks for while its prompt bit is up.
inline constexpr std::string_view kAirConditioningPrompt = "Turn ON Air Conditioning !!";
inline constexpr std::string_view kDrivePrompt = "Turn Automatic Transmission on DRIVE !!";

struct ProgramRequest {
  ProgramKind kind = ProgramKind::reset;
  int mix_index = 0;                 // mix: the item of kMixChoices
  std::optional<double> timeout_ms;  // rpm/map: --timeout
};

struct ProgramParse {
  std::optional<ProgramRequest> request;
  std::string error;  // when there is no request
};

// The operands after "program": mix PERCENT | reset | rpm|map [--timeout S].
ProgramParse ParseProgramOperands(const std::vector<std::string>& operands);

// The time and the waiting of a running program, so tests can run it on the
// simulated module's clock.
struct ProgramPacing {
  std::function<double()> now_ms;
  std::function<void(double ms)> sleep_ms;
  std::function<bool()> stop_requested;
};
ProgramPacing RealPacing();

// Reads the settings block for the correction limit, then writes the
// mixture byte. Exit 0 when both were answered, else 1.
int RunMixProgram(Session& session, int mix_index, std::ostream& out, std::ostream& err);
int RunResetProgram(Session& session, std::ostream& out, std::ostream& err);
// `result`, when given, says how the program ended: completed, aborted (a
// stop or the time-out, and the module took the abort) or failed.
int RunEngineProgram(Session& session, EngineProgram program, std::optional<double> timeout_ms,
                     const ProgramPacing& pacing, std::ostream& out, std::ostream& err,
                     ProgramResult* result = nullptr);

int ProgramCommand(CommandContext& context, const std::vector<std::string>& operands);

}  // namespace zelk::cli
