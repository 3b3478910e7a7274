// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A reply as it goes out on the line: the frame bytes in timed pieces, with
// the fault modes applied, and the arrival time of every byte.

#include <cstdint>
#include <deque>
#include <vector>

#include "sim/faults.h"

namespace zelk::sim {

// One byte at 19200 baud, 8N1: ten bit times.
inline constexpr double kByteTimeMs = 10.0 * 1000.0 / 19200.0;  // ~0.52 ms
// The module starts answering this long after the request's last byte.
inline constexpr double kTurnaroundMs = 1.0;
// The first two bytes of every reply: the start byte, then the command answered.
inline constexpr std::uint8_t kReplyLead = 0xF3;
// Line noise the garbage-before fault puts in front of a reply.
inline constexpr std::uint8_t kGarbage[] = {0x00, 0xFF, 0x55};
// Stray bytes of the late-bytes fault and how long after the reply they come.
inline constexpr std::uint8_t kLateBytes[] = {0x5A, 0xA5};
inline constexpr double kLateBytesDelayMs = 60.0;
// The payload size of an oversize reply: the most a 100-byte read can hold.
inline constexpr std::size_t kOversizePayload = 97;

// One piece of the reply: `bytes` start arriving `delay_ms` after the previous
// piece ended (the first piece: after the turnaround that follows the request).
struct ReplyChunk {
  double delay_ms = 0;
  std::vector<std::uint8_t> bytes;
};

struct ReplyPlan {
  std::vector<ReplyChunk> chunks;  // empty: no reply
  bool hang_up = false;            // after the chunks, the line goes dead

  bool silent() const { return chunks.empty(); }
  // Every byte of every chunk, in order.
  std::vector<std::uint8_t> Bytes() const;
};

// The reply frame (two leading bytes, payload, CRC-8) for `command`, as the
// faults shape it. Fault `silent`, `no_reply_first` and `hangup_after` are
// the module's business, not the frame's, and are not looked at here.
ReplyPlan PlanReply(std::uint8_t command, std::vector<std::uint8_t> payload,
                    const FaultModes& faults);

struct TimedByte {
  double at_ms;  // when the byte has fully arrived at the other end
  std::uint8_t value;
};

// When each byte of `plan` arrives, for a request whose last byte arrived at
// `request_end_ms`.
std::vector<TimedByte> ScheduleReply(const ReplyPlan& plan, double request_end_ms);

// Adds a scheduled reply to the bytes still to go out. The module has one
// serial line, so a reply to a request that came while an earlier reply was
// still going out follows that reply instead of mixing into it.
void QueueOnLine(std::deque<TimedByte>& queue, const std::vector<TimedByte>& bytes);

}  // namespace zelk::sim
