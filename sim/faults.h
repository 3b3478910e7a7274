// SPDX-License-Identifier: GPL-3.0-or-later
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
  bool short_reply = false;     // reply lacks its last payload byte, yet has a valid check byte
  int split_pause_ms = 0;       // pause in the middle of the reply (> 20 ms splits it)
  bool late_bytes = false;      // stray bytes arrive 60 ms after the reply
  int hangup_after = -1;        // hang up the line after this many answered exchanges
  int extra_delay_ms = 0;       // wait this long before answering
  double random = 0;            // share of requests answered with a random fault below
};

// The faults the random mode picks from. Each makes the link report a failure
// for certain: a wrong check byte, stray bytes in front (which leave the CRC
// register off zero whatever follows), or a reply one payload byte short of
// what the request needs (the reply to a write carries no payload, so a
// write's acknowledgement stays whole and is accepted). Silence fails an
// exchange only on all three tries; a silent try followed by an answer is
// recovered. Not picked: truncated, split-pause (a short frame passes its
// check 1 time in 256 and then fails as short), oversize, extra-delay
// (accepted by design) and late-bytes (it lands on the next exchange). New
// kinds go last, so a kind keeps its number in counters and logs.
enum class RandomFault : std::uint8_t { silent, bad_check, garbage_before, short_reply };
inline constexpr std::size_t kRandomFaultKinds = 4;

// The fault's --fault name.
const char* RandomFaultName(RandomFault fault);

// The fault the random mode gives request number `request` (counting from 1),
// if any: a pure function of its arguments, so a soak can replay the draw.
std::optional<RandomFault> DrawRandomFault(double probability, std::uint32_t seed,
                                           std::uint64_t request);

// Turns on `fault` in `faults` (for one answer).
void ApplyRandomFault(RandomFault fault, FaultModes& faults);

// Parses one "--fault" style token such as "silent", "short", "no-reply-first=2",
// "split-pause=40", "hangup-after=3", "random=0.01" (a probability from 0 to 1). Returns false for
// an unknown name or a bad number; `faults` is then unchanged.
bool ApplyFaultToken(const std::string& token, FaultModes& faults, std::string& error);

}  // namespace zelk::sim
