// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A model of the Zelk unit: its settings memory, live values from a small
// engine model, the calibration programs and the version, answering the
// requests of the module's command set. It knows nothing of time sources or
// ports: callers pass the current time and play back the reply plan.

#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "sim/faults.h"
#include "sim/reply_plan.h"
#include "sim/request_parser.h"

namespace zelk::sim {

inline constexpr std::size_t kSettingsSize = 25;  // module addresses 1 to 25

// The settings a unit leaves the factory with (decoded values plausible for a
// car: cold-start 1000 ms, 37.5 % start mix, idle 850 RPM, ...). Neither
// calibration program has run yet: flag bits 0 and 1 are clear.
std::array<std::uint8_t, kSettingsSize> DefaultSettings();

struct EngineModelSettings {
  std::uint32_t seed = 1;
  double rpm_program_ms = 4000;   // how long the RPM/lambda program runs
  double map_program_ms = 6000;   // how long the MAP program runs
  double map_prompt_from = 0.25;  // share of the MAP run at which the prompts start
  double map_prompt_to = 0.75;    // ... and end
};

struct Counters {
  std::uint64_t requests = 0;        // complete valid requests seen
  std::uint64_t bytes_received = 0;  // every byte fed to the module
  std::uint64_t replies = 0;         // replies sent (not counting silence)
  // Random faults injected, indexed by RandomFault.
  std::array<std::uint64_t, kRandomFaultKinds> injected{};
};

// A random fault given to one request, by the request's number (from 1).
struct InjectedFault {
  std::uint64_t request;
  RandomFault fault;
};

class ZelkModule {
 public:
  explicit ZelkModule(EngineModelSettings engine = {});

  FaultModes& faults() { return faults_; }
  const Counters& counters() const { return counters_; }
  const EngineModelSettings& engine() const { return engine_; }

  // Feeds received bytes, all taken to arrive at `now_ms`; returns the plan of
  // the reply to the request the bytes completed, if any (an empty plan when
  // the module stays silent). Should the bytes hold several requests, the
  // answers follow each other in one plan.
  std::optional<ReplyPlan> Receive(const std::uint8_t* bytes, std::size_t count, double now_ms);

  // Answers one already parsed request (counters and faults apply).
  ReplyPlan Handle(const Request& request, double now_ms);

  std::array<std::uint8_t, kSettingsSize>& settings() { return settings_; }
  std::array<std::uint8_t, 2>& version() { return version_; }
  // Bit 6 while the RPM/lambda program runs; bit 0 while the MAP program
  // runs, with bit 1 during its prompt phase. A program that has run its
  // course is finished here, setting its settings flag.
  std::uint8_t ProgramStatus(double now_ms);
  // The two live blocks as the module would answer now.
  std::array<std::uint8_t, 10> PollBlock(double now_ms) const;
  std::array<std::uint8_t, 10> InstantBlock(double now_ms) const;
  // The valid requests received, answered or not, in order: all of them
  // unless a limit keeps only the latest (a long-running zelk-sim).
  const std::vector<Request>& history() const { return history_; }
  void SetHistoryLimit(std::size_t limit) { history_limit_ = limit; }
  // The random faults injected since the last call, oldest first; kept up to
  // the history limit when nobody asks.
  std::vector<InjectedFault> TakeInjected() { return std::exchange(injected_, {}); }
  bool hung_up() const { return hung_up_; }
  // The line is plugged back in after a hang-up: the module answers again and
  // the hangup_after count starts afresh.
  void Reconnect();

 private:
  // The reply payload, or nothing for a command the module does not know.
  std::optional<std::vector<std::uint8_t>> Answer(const Request& request, double now_ms);
  std::vector<std::uint8_t> ReadSettings(std::uint16_t address, std::size_t count) const;
  void WriteSettings(std::uint16_t address, const std::vector<std::uint8_t>& bytes);
  std::vector<std::uint8_t> ReadLive(std::uint16_t address, std::size_t count, double now_ms);
  void ControlProgram(const std::vector<std::uint8_t>& payload, double now_ms);
  void UpdatePrograms(double now_ms);
  std::uint16_t IdlePeriod() const;

  EngineModelSettings engine_;
  FaultModes faults_;
  Counters counters_;
  RequestParser parser_;
  std::array<std::uint8_t, kSettingsSize> settings_;
  std::array<std::uint8_t, 2> version_{2, 10};
  std::vector<Request> history_;
  std::vector<InjectedFault> injected_;
  std::size_t history_limit_ = static_cast<std::size_t>(-1);
  enum class Program { none, rpm_lambda, map } program_ = Program::none;
  double program_started_ms_ = 0;
  int ignored_so_far_ = 0;
  int answered_ = 0;
  bool hung_up_ = false;
};

}  // namespace zelk::sim
