// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// When zelk-sim writes each reply byte to its pty, and whether it kept to
// that plan. A pty moves bytes at once, so the pacing of the 19200-baud line
// is played by writing each byte when it would have arrived; the client ends
// a reply at a pause of more than 20 ms, so a simulator that the host does
// not schedule for that long cuts its own reply in two. Plain C++ with the
// clock passed in, so the plan can be tested without a pty.

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "sim/reply_plan.h"

namespace zelk::sim {

enum class Pace : std::uint8_t {
  // Each byte goes out when it would have arrived on the line: what the
  // technician and the benchmarks see, and what a busy host can cut.
  line,
  // Each piece of a reply (the bytes between two of the plan's own pauses)
  // goes out in one write when its last byte would have arrived: the client
  // sees the same reply end at the same time, and no descheduling of this
  // process can split it. The plan's pauses (split-pause, extra-delay,
  // late-bytes) stay real pauses.
  reply,
};

// A gap between two bytes of one reply that came this much later than
// planned is the simulator's own lateness: near the client's 20 ms rule.
inline constexpr double kLateGapMs = 15.0;
// A gap between two planned byte arrivals longer than this is a pause of
// the plan (a few byte times), not just the pace of the line.
inline constexpr double kPlannedPauseMs = 4 * kByteTimeMs;
// The most bytes given to one write.
inline constexpr std::size_t kMaxWrite = 256;

// A reply of which two bytes went out further apart than planned.
struct LateReply {
  std::uint64_t request;  // the request it answered, counted from 1
  double late_ms;         // the gap beyond plan
};

class PtyPacer {
 public:
  explicit PtyPacer(Pace pace) : pace_(pace) {}

  // Queues the bytes of the reply to request number `request`, behind what
  // is still to go out (see QueueOnLine).
  void Queue(const std::vector<TimedByte>& bytes, std::uint64_t request);

  // The bytes to write at `now_ms`, taken off the queue (none when nothing
  // is due). One write never spans a pause of the plan, even when this
  // process was woken late. A late write that a pause follows pushes the
  // rest back, so that the pause still lasts as long as planned.
  std::vector<std::uint8_t> TakeDue(double now_ms);
  // The write of what TakeDue gave has returned at `now_ms`. The bytes went
  // out between the two times; a gap is judged by its longest possible
  // length, from the start of one write to the end of the next, so that no
  // cut the host may have caused goes unreported.
  void Sent(double now_ms);

  // When the next write falls due; nothing when the queue is empty.
  std::optional<double> NextDueMs() const;
  bool empty() const { return bytes_.empty(); }
  // The planned arrival of the last byte queued; only when not empty.
  double LastAtMs() const { return bytes_.back().at_ms; }

  // The replies found late since the last call, each once, oldest first.
  std::vector<LateReply> TakeLate();
  // Every reply found late so far.
  std::uint64_t late_replies() const { return late_replies_; }

 private:
  // How many bytes from the front form one piece: up to the first pause.
  std::size_t PieceLength() const;

  Pace pace_;
  std::deque<TimedByte> bytes_;
  std::deque<std::uint64_t> requests_;  // beside bytes_: the request each byte answers
  // A write: when it started, the planned arrival of its first and last
  // byte, and the requests these answer.
  struct Written {
    double started_ms;
    double first_planned_ms;
    double last_planned_ms;
    std::uint64_t first_request;
    std::uint64_t last_request;
  };
  std::optional<Written> previous_;  // the last write that returned
  std::optional<Written> current_;   // taken, not yet reported sent
  std::vector<LateReply> late_;
  std::uint64_t last_late_request_ = 0;
  std::uint64_t late_replies_ = 0;
};

}  // namespace zelk::sim
