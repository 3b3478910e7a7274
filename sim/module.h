#pragma once
// A model of the Zelk unit: its settings memory, live values from a small
// engine model, the calibration programs and the version, answering the
// requests of the module's command set. It knows nothing of time sources or
// ports: callers pass the current time and play back the reply plan.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "sim/faults.h"

namespace zelk::sim {

inline constexpr std::size_t kSettingsSize = 25;

// The settings a unit leaves the factory with (decoded values plausible for a
// car: cold-start 1000 ms, 37.5 % start mix, idle 850 RPM, ...).
std::array<std::uint8_t, kSettingsSize> DefaultSettings();

struct Request {
  std::uint8_t command = 0;
  std::uint16_t address = 0;
  std::vector<std::uint8_t> payload;
};

// One piece of the reply: `bytes` start arriving `delay_ms` after the previous
// piece ended (the first piece: after the request's last byte).
struct ReplyChunk {
  double delay_ms = 0;
  std::vector<std::uint8_t> bytes;
};

struct ReplyPlan {
  std::vector<ReplyChunk> chunks;  // empty: no reply
  bool hang_up = false;            // after the chunks, the line goes dead
};

// Incremental request parser for a byte stream: skips bytes until a start
// byte, then collects the header, payload and check byte. A frame with a bad
// check byte is dropped. A gap longer than `reset_gap_ms` drops a partial frame.
class RequestParser {
 public:
  // Returns a complete, valid request when `byte` finishes one.
  std::optional<Request> Feed(std::uint8_t byte, double now_ms);
  void Reset() { buf_.clear(); }

 private:
  std::vector<std::uint8_t> buf_;
  double last_byte_ms_ = 0;
  static constexpr double kResetGapMs = 50;
};

struct EngineModelSettings {
  std::uint32_t seed = 1;
  double rpm_program_ms = 4000;  // how long the RPM/lambda program runs
  double map_program_ms = 6000;  // how long the MAP program runs
  double map_prompt_from = 0.25; // share of the MAP run at which the prompts start
  double map_prompt_to = 0.75;   // ... and end
};

struct Counters {
  std::uint64_t requests = 0;        // complete valid requests seen
  std::uint64_t bytes_received = 0;  // every byte fed to the module
  std::uint64_t replies = 0;         // replies sent (not counting silence)
};

class ZelkModule {
 public:
  explicit ZelkModule(EngineModelSettings engine = {});

  FaultModes& faults() { return faults_; }
  const Counters& counters() const { return counters_; }

  // Feeds received bytes; returns the plan of the reply to the request the
  // bytes completed, if any (an empty plan when the module stays silent).
  std::optional<ReplyPlan> Receive(const std::uint8_t* bytes, std::size_t count, double now_ms);

  // Answers one already parsed request (counters and faults apply).
  ReplyPlan Handle(const Request& request, double now_ms);

  std::array<std::uint8_t, kSettingsSize>& settings() { return settings_; }
  std::array<std::uint8_t, 2>& version() { return version_; }
  std::uint8_t ProgramStatus(double now_ms);
  // The two live blocks as the module would answer now.
  std::array<std::uint8_t, 10> PollBlock(double now_ms);
  std::array<std::uint8_t, 10> InstantBlock(double now_ms);
  // Every request handled, in order (for tests).
  const std::vector<Request>& history() const { return history_; }
  bool hung_up() const { return hung_up_; }

 private:
  std::vector<std::uint8_t> Answer(const Request& request, double now_ms, bool& answered);
  void UpdatePrograms(double now_ms);

  EngineModelSettings engine_;
  FaultModes faults_;
  Counters counters_;
  RequestParser parser_;
  std::array<std::uint8_t, kSettingsSize> settings_;
  std::array<std::uint8_t, 2> version_{2, 10};
  std::vector<Request> history_;
  std::uint32_t rng_state_;
  enum class Program { none, rpm_lambda, map } program_ = Program::none;
  double program_started_ms_ = 0;
  int ignored_so_far_ = 0;
  int answered_ = 0;
  bool hung_up_ = false;
};

}  // namespace zelk::sim
