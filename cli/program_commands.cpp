// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/program_commands.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <thread>

#include "cli/commands.h"
#include "cli/hex_text.h"
#include "cli/stop_signal.h"
#include "cli/vehicle_commands.h"
#include "monitor/live_sample.h"
#include "programming/mixture.h"
#include "session/module_version.h"
#include "settings/number_text.h"
#include "settings/settings_table.h"
#include "text/terminal_text.h"
#include "text/utc_time.h"

namespace zelk::cli {

namespace {

constexpr std::string_view kProgramOkText = "Program OK";
constexpr std::string_view kCompletedText = "Programming Completed!";
constexpr std::string_view kAbortedText = "Programming Aborted!";
constexpr double kMaxTimeoutSeconds = 24 * 60 * 60.0;
// A stop or the time-out is noticed within this while the program waits.
constexpr double kWaitSliceMs = 50;

struct PercentItem {
  std::string_view operand;
  int mix_index;
};
constexpr std::array<PercentItem, kMixChoices.size()> kPercents{{
    {"0", 0},
    {"25", 1},
    {"50", 2},
    {"75", 3},
    {"100", 4},
}};

ProgramParse Refuse(std::string error) {
  return {std::nullopt, std::move(error)};
}

ProgramParse ParseMix(const std::vector<std::string>& operands) {
  if (operands.size() != 2) return Refuse("program mix needs one PERCENT: 0, 25, 50, 75 or 100");
  for (const PercentItem& item : kPercents) {
    if (operands[1] == item.operand) {
      ProgramRequest request;
      request.kind = ProgramKind::mix;
      request.mix_index = item.mix_index;
      return {request, {}};
    }
  }
  return Refuse("program mix: PERCENT must be 0, 25, 50, 75 or 100, not '" + Excerpt(operands[1]) +
                "'");
}

ProgramParse ParseEngine(ProgramKind kind, const std::vector<std::string>& operands) {
  ProgramRequest request;
  request.kind = kind;
  const std::string& name = operands[0];
  for (std::size_t i = 1; i < operands.size(); ++i) {
    std::string value;
    if (operands[i] == "--timeout") {
      if (i + 1 == operands.size()) return Refuse("program " + name + ": --timeout needs S");
      value = operands[++i];
    } else if (operands[i].starts_with("--timeout=")) {
      value = operands[i].substr(10);
    } else {
      return Refuse("program " + name + ": unexpected argument '" + Excerpt(operands[i]) + "'");
    }
    if (request.timeout_ms) return Refuse("program " + name + ": --timeout given more than once");
    const std::optional<double> seconds = ParseDecimal(value, '.');
    if (!seconds || *seconds <= 0 || *seconds > kMaxTimeoutSeconds) {
      return Refuse("program " + name + ": --timeout takes seconds above 0, up to 86400, not '" +
                    Excerpt(value) + "'");
    }
    request.timeout_ms = *seconds * 1000;
  }
  return {request, {}};
}

int CommunicationFail(std::ostream& err) {
  err << kCommunicationFailText << '\n';
  return kExitCommunication;
}

int ReportOneRequest(const Outcome& outcome, std::ostream& out, std::ostream& err) {
  if (!outcome.ok()) return CommunicationFail(err);
  out << kProgramOkText << '\n';
  out.flush();
  return kExitOk;
}

std::string_view ProgramTitle(EngineProgram program) {
  return program == EngineProgram::rpm_lambda ? "RPM/Lambda Programming" : "MAP Sensor Programming";
}

// "  1.0 s  temperature 85 C  MAP 1.23 V  lambda 450 mV", the dialog's three readings.
void PrintProgress(double elapsed_ms, const ProgramProgress& progress, std::ostream& out) {
  out << FixedText(elapsed_ms / 1000, 1, 5, '.') << " s  ";
  if (progress.instant.ok()) {
    const InstantTexts texts = FormatInstantSample(progress.instant.value, '.');
    out << "temperature " << texts.temp << " C  MAP " << texts.map << " V  lambda " << texts.lambda
        << " mV";
  } else {
    out << "no live reading";
  }
  if (!progress.status.ok()) out << "  (no status)";
  out << '\n';
}

int Abort(Session& session, std::string_view why, std::ostream& out, std::ostream& err,
          ProgramResult& result) {
  err << "zelkctl: " << why << "; aborting the program\n";
  if (!session.AbortProgram().ok()) return CommunicationFail(err);
  result = ProgramResult::aborted;
  out << kAbortedText << '\n';
  out.flush();
  return kExitCommunication;
}

// Records the run in the vehicle's history; a run that cannot be recorded
// turns a success into exit 1, so a script does not take it for recorded.
int RecordRun(VehicleHistory& vehicle, const ProgramRun& run, int status, std::ostream& err) {
  const AddedRecord added = vehicle.AddProgramRun(run);
  if (added.file) return status;
  err << "zelkctl: the program run could not be recorded: " << TerminalSafe(added.error) << '\n';
  return status == kExitOk ? kExitCommunication : status;
}

int RunProgram(Session& session, const ProgramRequest& request, ProgramResult& result,
               std::ostream& out, std::ostream& err) {
  int status = kExitOk;
  switch (request.kind) {
    case ProgramKind::mix:
      status = RunMixProgram(session, request.mix_index, out, err);
      break;
    case ProgramKind::reset:
      status = RunResetProgram(session, out, err);
      break;
    case ProgramKind::rpm_lambda:
    case ProgramKind::map:
      return RunEngineProgram(session, *EngineProgramOf(request.kind), request.timeout_ms,
                              RealPacing(), out, err, &result);
  }
  result = status == kExitOk ? ProgramResult::completed : ProgramResult::failed;
  return status;
}

}  // namespace

ProgramParse ParseProgramOperands(const std::vector<std::string>& operands) {
  if (operands.empty()) return Refuse("program needs mix PERCENT, reset, rpm or map");
  const std::string& name = operands[0];
  if (name == "mix") return ParseMix(operands);
  if (name == "reset") {
    if (operands.size() > 1) {
      return Refuse("program reset: unexpected argument '" + Excerpt(operands[1]) + "'");
    }
    return {ProgramRequest{ProgramKind::reset, 0, std::nullopt}, {}};
  }
  if (name == "rpm") return ParseEngine(ProgramKind::rpm_lambda, operands);
  if (name == "map") return ParseEngine(ProgramKind::map, operands);
  return Refuse("program: unknown program '" + Excerpt(name) + "' (mix, reset, rpm or map)");
}

ProgramPacing RealPacing() {
  return {
      Session::SteadyMilliseconds,
      [](double ms) { std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(ms)); },
      StopRequested};
}

int RunMixProgram(Session& session, int mix_index, std::ostream& out, std::ostream& err) {
  // The dialog takes the limit from the main window, which shows the
  // module's settings as last read: here they are read first.
  const Result<SettingsValues> settings = session.ReadSettingsBlock();
  if (!settings.ok()) return CommunicationFail(err);
  const double limit = settings.value.value(kLimiteCorr);
  const std::uint8_t mixture = MixtureByte(mix_index, limit);
  out << "mixture byte " << unsigned{mixture} << " for "
      << kMixChoices[static_cast<std::size_t>(mix_index)].item << " (correction limit "
      << GeneralText(limit, '.') << " %)\n";
  return ReportOneRequest(session.WriteMixture(mixture), out, err);
}

int RunResetProgram(Session& session, std::ostream& out, std::ostream& err) {
  return ReportOneRequest(session.ResetModule(), out, err);
}

int RunEngineProgram(Session& session, EngineProgram program, std::optional<double> timeout_ms,
                     const ProgramPacing& pacing, std::ostream& out, std::ostream& err,
                     ProgramResult* result) {
  ProgramResult ignored = ProgramResult::failed;
  ProgramResult& ended = result != nullptr ? *result : ignored;
  ended = ProgramResult::failed;
  if (!session.StartProgram(program).ok()) return CommunicationFail(err);
  out << ProgramTitle(program) << '\n';
  out.flush();
  const double started = pacing.now_ms();
  double next_tick = started + kProgressTickMs;
  bool prompts_up = false;
  for (;;) {
    // Wait for the next tick, in slices, so a stop or the time-out is not
    // kept waiting for it.
    for (double now = pacing.now_ms(); now < next_tick; now = pacing.now_ms()) {
      if (pacing.stop_requested()) return Abort(session, "stopped", out, err, ended);
      if (timeout_ms && now - started >= *timeout_ms) {
        return Abort(session, "time-out", out, err, ended);
      }
      pacing.sleep_ms(std::min(kWaitSliceMs, next_tick - now));
    }
    if (pacing.stop_requested()) return Abort(session, "stopped", out, err, ended);
    const double tick_at = pacing.now_ms();
    // A module slow to answer (silent, or its line being read quiet) can make
    // a tick last longer than the wait between ticks; the time-out still holds.
    if (timeout_ms && tick_at - started > *timeout_ms)
      return Abort(session, "time-out", out, err, ended);
    next_tick = std::max(next_tick + kProgressTickMs, tick_at);

    const ProgramProgress progress = session.ReadProgramProgress();
    PrintProgress(tick_at - started, progress, out);
    if (!session.connected()) return CommunicationFail(err);  // the device went away
    if (progress.status.ok()) {
      const std::uint8_t status = progress.status.value;
      if (!ProgramRunning(program, status)) {
        out << kCompletedText << '\n';
        out.flush();
        ended = ProgramResult::completed;
        return kExitOk;
      }
      // Both prompts once each time the module raises its prompt bit.
      const bool wanted = ProgramWantsPrompts(program, status);
      if (wanted && !prompts_up) out << kAirConditioningPrompt << '\n' << kDrivePrompt << '\n';
      prompts_up = wanted;
    }
    out.flush();
  }
}

int ProgramCommand(CommandContext& context, const std::vector<std::string>& operands) {
  const ProgramParse parse = ParseProgramOperands(operands);
  if (!parse.request) return UsageError(context, parse.error);
  const ProgramRequest& request = *parse.request;
  // The vehicle on the bench is known before anything is sent.
  std::optional<VehicleHistory> vehicle;
  if (context.options.vehicle_given) {
    const std::optional<VehicleEntry> entry = VehicleOnTheBench(context);
    if (!entry) return kExitUsage;
    vehicle.emplace(entry->folder);
  }
  // Installed before the port opens: from here a stop must not cut an exchange.
  if (EngineProgramOf(request.kind)) InstallStopSignals();
  Session* session = context.OpenSession();
  if (session == nullptr) return kExitUsage;
  ProgramRun run{std::string(ProgramKindName(request.kind)),
                 UtcTimeText(std::chrono::system_clock::now()),
                 {},
                 ProgramResult::failed,
                 ModuleVersionText(session->module_version())};
  const int status = RunProgram(*session, request, run.result, context.out, context.err);
  if (!vehicle) return status;
  run.ended_at = UtcTimeText(std::chrono::system_clock::now());
  return RecordRun(*vehicle, run, status, context.err);
}

}  // namespace zelk::cli
