// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/module.h"

#include <algorithm>

#include "link/requests.h"
#include "sim/engine_model.h"

namespace zelk::sim {

namespace {

// The module tells its reads of live data apart by address alone.
constexpr std::uint8_t kReadLive = requests::kPollBlock.command;
static_assert(requests::kInstantBlock.command == kReadLive &&
              requests::kProgramStatus.command == kReadLive);
// The settings write and the mixture write are one command at two addresses.
static_assert(requests::kWriteMixture.command == requests::kWriteSettings.command);

constexpr std::uint8_t kFlagMapDone = 0x01;
constexpr std::uint8_t kFlagRpmDone = 0x02;

// `count` bytes of `block` from its start, zero beyond its end.
template <std::size_t N>
std::vector<std::uint8_t> Slice(const std::array<std::uint8_t, N>& block, std::size_t count) {
  std::vector<std::uint8_t> out(count, 0);
  std::copy_n(block.begin(), std::min(count, N), out.begin());
  return out;
}

}  // namespace

ZelkModule::ZelkModule(EngineModelSettings engine)
    : engine_(engine), settings_(DefaultSettings()) {}

void ZelkModule::Reconnect() {
  hung_up_ = false;
  answered_ = 0;
  parser_.Reset();
}

std::optional<ReplyPlan> ZelkModule::Receive(const std::uint8_t* bytes, std::size_t count,
                                             double now_ms) {
  counters_.bytes_received += count;
  std::optional<ReplyPlan> result;
  for (std::size_t i = 0; i < count; ++i) {
    std::optional<Request> request = parser_.Feed(bytes[i], now_ms);
    if (!request) continue;
    ReplyPlan plan = Handle(*request, now_ms);
    if (!result) {
      result = std::move(plan);
    } else if (!result->hang_up) {
      result->chunks.insert(result->chunks.end(), plan.chunks.begin(), plan.chunks.end());
      result->hang_up = plan.hang_up;
    }
  }
  return result;
}

ReplyPlan ZelkModule::Handle(const Request& request, double now_ms) {
  ++counters_.requests;
  history_.push_back(request);
  if (history_.size() > history_limit_) {
    history_.erase(history_.begin(), history_.begin() + static_cast<std::ptrdiff_t>(
                                                            history_.size() - history_limit_));
  }
  UpdatePrograms(now_ms);

  // The random mode adds one fault to this answer alone.
  FaultModes faults = faults_;
  if (faults_.random > 0) {
    if (const auto fault = DrawRandomFault(faults_.random, engine_.seed, counters_.requests)) {
      ApplyRandomFault(*fault, faults);
      ++counters_.injected[static_cast<std::size_t>(*fault)];
      injected_.push_back({counters_.requests, *fault});
      if (injected_.size() > history_limit_) injected_.erase(injected_.begin());
    }
  }

  if (hung_up_ || faults.silent) return {};
  if (ignored_so_far_ < faults_.no_reply_first) {
    ++ignored_so_far_;
    return {};
  }
  if (faults_.hangup_after >= 0 && answered_ >= faults_.hangup_after) {
    hung_up_ = true;
    return ReplyPlan{.chunks = {}, .hang_up = true};
  }

  std::optional<std::vector<std::uint8_t>> payload = Answer(request, now_ms);
  if (!payload) return {};

  ReplyPlan plan = PlanReply(request.command, std::move(*payload), faults);
  ++counters_.replies;
  ++answered_;
  if (faults_.hangup_after >= 0 && answered_ >= faults_.hangup_after) {
    hung_up_ = true;
    plan.hang_up = true;
  }
  return plan;
}

std::optional<std::vector<std::uint8_t>> ZelkModule::Answer(const Request& request, double now_ms) {
  const std::size_t count = request.payload.size();
  switch (request.command) {
    case kReadLive:
      return ReadLive(request.address, count, now_ms);
    case requests::kReadSettings.command:
      return ReadSettings(request.address, count);
    case requests::kVersion.command:
      return std::vector<std::uint8_t>(version_.begin(), version_.end());
    case requests::kWriteSettings.command:
      WriteSettings(request.address, request.payload);
      return std::vector<std::uint8_t>{};
    case requests::kProgramControl.command:
      ControlProgram(request.payload, now_ms);
      return std::vector<std::uint8_t>{};
    default:
      return std::nullopt;
  }
}

std::vector<std::uint8_t> ZelkModule::ReadSettings(std::uint16_t address, std::size_t count) const {
  std::vector<std::uint8_t> out(count, 0);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t a = address + i;
    if (a >= 1 && a <= kSettingsSize) out[i] = settings_[a - 1];
  }
  return out;
}

void ZelkModule::WriteSettings(std::uint16_t address, const std::vector<std::uint8_t>& bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const std::size_t a = address + i;
    if (a >= 1 && a <= kSettingsSize) settings_[a - 1] = bytes[i];
  }
}

std::vector<std::uint8_t> ZelkModule::ReadLive(std::uint16_t address, std::size_t count,
                                               double now_ms) {
  switch (address) {
    case requests::kPollBlock.address:
      return Slice(PollBlock(now_ms), count);
    case requests::kInstantBlock.address:
      return Slice(InstantBlock(now_ms), count);
    case requests::kProgramStatus.address:
      return Slice(std::array<std::uint8_t, 2>{ProgramStatus(now_ms), 0}, count);
    default:
      return std::vector<std::uint8_t>(count, 0);
  }
}

void ZelkModule::ControlProgram(const std::vector<std::uint8_t>& payload, double now_ms) {
  if (payload.empty()) return;
  switch (payload[0]) {
    case static_cast<std::uint8_t>(ProgramControl::reset_or_abort):
      // Ends a running program without marking it done.
      program_ = Program::none;
      break;
    case static_cast<std::uint8_t>(ProgramControl::rpm_lambda):
      program_ = Program::rpm_lambda;
      program_started_ms_ = now_ms;
      break;
    case static_cast<std::uint8_t>(ProgramControl::map):
      program_ = Program::map;
      program_started_ms_ = now_ms;
      break;
    default:
      break;
  }
}

void ZelkModule::UpdatePrograms(double now_ms) {
  const double elapsed = now_ms - program_started_ms_;
  if (program_ == Program::rpm_lambda && elapsed >= engine_.rpm_program_ms) {
    settings_[0] |= kFlagRpmDone;
    program_ = Program::none;
  } else if (program_ == Program::map && elapsed >= engine_.map_program_ms) {
    settings_[0] |= kFlagMapDone;
    program_ = Program::none;
  }
}

std::uint8_t ZelkModule::ProgramStatus(double now_ms) {
  UpdatePrograms(now_ms);
  const double elapsed = now_ms - program_started_ms_;
  switch (program_) {
    case Program::rpm_lambda:
      return kStatusRpmRunning;
    case Program::map: {
      const bool prompting = elapsed >= engine_.map_prompt_from * engine_.map_program_ms &&
                             elapsed < engine_.map_prompt_to * engine_.map_program_ms;
      return static_cast<std::uint8_t>(kStatusMapRunning | (prompting ? kStatusMapPrompt : 0));
    }
    case Program::none:
      break;
  }
  return 0;
}

std::uint16_t ZelkModule::IdlePeriod() const {
  return static_cast<std::uint16_t>(settings_[4] | (settings_[5] << 8));
}

std::array<std::uint8_t, 10> ZelkModule::PollBlock(double now_ms) const {
  const LiveValues v = EngineAt(now_ms, IdlePeriod(), engine_.seed);
  return {
      static_cast<std::uint8_t>(v.rpm_period & 0xFF),
      static_cast<std::uint8_t>(v.rpm_period >> 8),
      static_cast<std::uint8_t>(v.injection & 0xFF),
      static_cast<std::uint8_t>(v.injection >> 8),
      0,
      v.correction,
      0,
      v.temperature,
      v.map,
      v.lambda,
  };
}

std::array<std::uint8_t, 10> ZelkModule::InstantBlock(double now_ms) const {
  const LiveValues v = EngineAt(now_ms, IdlePeriod(), engine_.seed);
  return {v.correction, 0, v.temperature, v.map, v.lambda, 0, 0, 0, 0, 0};
}

}  // namespace zelk::sim
