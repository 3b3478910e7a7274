// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/faults.h"

#include <charconv>
#include <string_view>

namespace zelk::sim {

namespace {

enum class Kind { flag, count, millis, probability };

struct FaultName {
  std::string_view name;
  Kind kind;
  bool FaultModes::*flag;
  int FaultModes::*number;
  double FaultModes::*share = nullptr;
};

constexpr FaultName kFaultNames[] = {
    {"silent", Kind::flag, &FaultModes::silent, nullptr},
    {"no-reply-first", Kind::count, nullptr, &FaultModes::no_reply_first},
    {"bad-check", Kind::flag, &FaultModes::bad_check, nullptr},
    {"truncated", Kind::flag, &FaultModes::truncated, nullptr},
    {"garbage-before", Kind::flag, &FaultModes::garbage_before, nullptr},
    {"oversize", Kind::flag, &FaultModes::oversize, nullptr},
    {"short", Kind::flag, &FaultModes::short_reply, nullptr},
    {"split-pause", Kind::millis, nullptr, &FaultModes::split_pause_ms},
    {"late-bytes", Kind::flag, &FaultModes::late_bytes, nullptr},
    {"hangup-after", Kind::count, nullptr, &FaultModes::hangup_after},
    {"extra-delay", Kind::millis, nullptr, &FaultModes::extra_delay_ms},
    {"random", Kind::probability, nullptr, nullptr, &FaultModes::random},
};

// Indexed by RandomFault.
constexpr const char* kRandomFaultNames[kRandomFaultKinds] = {"silent", "bad-check",
                                                              "garbage-before", "short"};

// A million: a quarter of an hour of delay, or a million exchanges. Anything
// larger is a typo.
constexpr int kMaxNumber = 1000000;

bool ParseNumber(std::string_view text, int& value) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && value >= 0 && value <= kMaxNumber;
}

bool ParseProbability(std::string_view text, double& value) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::fixed);
  return ec == std::errc() && ptr == end && value >= 0 && value <= 1;
}

// splitmix64's finaliser: every input bit moves every output bit.
std::uint64_t Mix(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

}  // namespace

const char* RandomFaultName(RandomFault fault) {
  return kRandomFaultNames[static_cast<std::size_t>(fault)];
}

std::optional<RandomFault> DrawRandomFault(double probability, std::uint32_t seed,
                                           std::uint64_t request) {
  const std::uint64_t draw = Mix(Mix(seed) ^ request);
  // 53 bits make a double in [0, 1): probability 1 always hits, 0 never.
  const double share = static_cast<double>(draw >> 11) * 0x1.0p-53;
  if (!(share < probability)) return std::nullopt;
  return static_cast<RandomFault>(Mix(draw) % kRandomFaultKinds);
}

void ApplyRandomFault(RandomFault fault, FaultModes& faults) {
  switch (fault) {
    case RandomFault::silent:
      faults.silent = true;
      break;
    case RandomFault::bad_check:
      faults.bad_check = true;
      break;
    case RandomFault::garbage_before:
      faults.garbage_before = true;
      break;
    case RandomFault::short_reply:
      faults.short_reply = true;
      break;
  }
}

bool ApplyFaultToken(const std::string& token, FaultModes& faults, std::string& error) {
  const std::string_view text(token);
  const auto eq = text.find('=');
  const std::string_view name = text.substr(0, eq);
  for (const FaultName& entry : kFaultNames) {
    if (entry.name != name) continue;
    if (entry.kind == Kind::flag) {
      if (eq != std::string_view::npos) {
        error = "fault '" + std::string(name) + "' takes no value";
        return false;
      }
      faults.*entry.flag = true;
      return true;
    }
    if (entry.kind == Kind::probability) {
      double share = 0;
      if (eq == std::string_view::npos || !ParseProbability(text.substr(eq + 1), share)) {
        error = "fault '" + std::string(name) +
                "' needs a probability from 0 to 1: " + std::string(name) + "=P";
        return false;
      }
      faults.*entry.share = share;
      return true;
    }
    int value = 0;
    if (eq == std::string_view::npos || !ParseNumber(text.substr(eq + 1), value)) {
      error = "fault '" + std::string(name) + "' needs a whole number: " + std::string(name) +
              (entry.kind == Kind::millis ? "=MS" : "=N");
      return false;
    }
    faults.*entry.number = value;
    return true;
  }
  error = "unknown fault '" + std::string(name) + "'";
  return false;
}

}  // namespace zelk::sim
