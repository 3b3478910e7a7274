// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/reply_plan.h"

#include <algorithm>

#include "link/frame.h"

namespace zelk::sim {

std::vector<std::uint8_t> ReplyPlan::Bytes() const {
  std::vector<std::uint8_t> all;
  for (const ReplyChunk& chunk : chunks)
    all.insert(all.end(), chunk.bytes.begin(), chunk.bytes.end());
  return all;
}

ReplyPlan PlanReply(std::uint8_t command, std::vector<std::uint8_t> payload,
                    const FaultModes& faults) {
  if (faults.oversize) {
    // Keep the real answer in front so the caller's bytes still make sense.
    for (std::size_t i = payload.size(); i < kOversizePayload; ++i) {
      payload.push_back(static_cast<std::uint8_t>(i));
    }
    payload.resize(kOversizePayload);
  }
  if (faults.truncated) payload.resize(payload.size() / 2);
  // One byte missing, the frame otherwise well formed: only the request's
  // own length tells it from a whole reply.
  if (faults.short_reply && !payload.empty()) payload.pop_back();

  std::vector<std::uint8_t> frame;
  if (faults.garbage_before) frame.assign(std::begin(kGarbage), std::end(kGarbage));
  const std::size_t frame_start = frame.size();
  frame.push_back(kReplyLead);
  frame.push_back(command);
  frame.insert(frame.end(), payload.begin(), payload.end());
  if (!faults.truncated) {
    std::uint8_t check = FrameChecksum(std::span(frame).subspan(frame_start));
    if (faults.bad_check) check ^= 0xFF;
    frame.push_back(check);
  }

  ReplyPlan plan;
  const double delay = faults.extra_delay_ms;
  if (faults.split_pause_ms > 0 && frame.size() >= 2) {
    const auto half = frame.begin() + static_cast<std::ptrdiff_t>(frame.size() / 2);
    plan.chunks.push_back({delay, {frame.begin(), half}});
    plan.chunks.push_back({static_cast<double>(faults.split_pause_ms), {half, frame.end()}});
  } else {
    plan.chunks.push_back({delay, std::move(frame)});
  }
  if (faults.late_bytes) {
    plan.chunks.push_back({kLateBytesDelayMs, {std::begin(kLateBytes), std::end(kLateBytes)}});
  }
  return plan;
}

std::vector<TimedByte> ScheduleReply(const ReplyPlan& plan, double request_end_ms) {
  std::vector<TimedByte> timed;
  double t = request_end_ms + kTurnaroundMs;
  for (const ReplyChunk& chunk : plan.chunks) {
    t += chunk.delay_ms;
    for (const std::uint8_t b : chunk.bytes) {
      t += kByteTimeMs;
      timed.push_back({t, b});
    }
  }
  return timed;
}

void QueueOnLine(std::deque<TimedByte>& queue, const std::vector<TimedByte>& bytes) {
  double delay = 0;
  if (!queue.empty() && !bytes.empty()) {
    delay = std::max(0.0, queue.back().at_ms + kByteTimeMs - bytes.front().at_ms);
  }
  for (const TimedByte& byte : bytes) queue.push_back({byte.at_ms + delay, byte.value});
}

}  // namespace zelk::sim
