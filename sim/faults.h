#pragma once
// Named ways the simulated module misbehaves, settable per test or by flag.

#include <cstdint>
#include <optional>
#include <string>

namespace zelk::sim {

struct FaultModes {
  bool silent = false;          // never answers
  int no_reply_first = 0;       // ignores this many requests, then answers
  bool bad_check = false;       // last byte of every reply is wrong
  bool truncated = false;       // reply stops after its two leading bytes and half the payload
  bool garbage_before = false;  // a few stray bytes arrive right before the reply
  bool oversize = false;        // reply carries 97 payload bytes
  int split_pause_ms = 0;       // pause in the middle of the reply (> 20 ms splits it)
  bool late_bytes = false;      // stray bytes arrive 60 ms after the reply
  int hangup_after = -1;        // hang up the line after this many answered exchanges
  int extra_delay_ms = 0;       // wait this long before answering
};

// Parses one "--fault" style token such as "silent", "no-reply-first=2",
// "split-pause=40", "hangup-after=3". Returns false for an unknown name or a
// bad number; `faults` is then unchanged.
bool ApplyFaultToken(const std::string& token, FaultModes& faults, std::string& error);

}  // namespace zelk::sim
