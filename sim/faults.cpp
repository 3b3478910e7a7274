#include "sim/faults.h"

#include <charconv>
#include <string_view>

namespace zelk::sim {

namespace {

enum class Kind { flag, count, millis };

struct FaultName {
  std::string_view name;
  Kind kind;
  bool FaultModes::*flag;
  int FaultModes::*number;
};

constexpr FaultName kFaultNames[] = {
    {"silent", Kind::flag, &FaultModes::silent, nullptr},
    {"no-reply-first", Kind::count, nullptr, &FaultModes::no_reply_first},
    {"bad-check", Kind::flag, &FaultModes::bad_check, nullptr},
    {"truncated", Kind::flag, &FaultModes::truncated, nullptr},
    {"garbage-before", Kind::flag, &FaultModes::garbage_before, nullptr},
    {"oversize", Kind::flag, &FaultModes::oversize, nullptr},
    {"split-pause", Kind::millis, nullptr, &FaultModes::split_pause_ms},
    {"late-bytes", Kind::flag, &FaultModes::late_bytes, nullptr},
    {"hangup-after", Kind::count, nullptr, &FaultModes::hangup_after},
    {"extra-delay", Kind::millis, nullptr, &FaultModes::extra_delay_ms},
};

// A million: a quarter of an hour of delay, or a million exchanges. Anything
// larger is a typo.
constexpr int kMaxNumber = 1000000;

bool ParseNumber(std::string_view text, int& value) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && value >= 0 && value <= kMaxNumber;
}

}  // namespace

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
