// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/simulated_line.h"

#include <algorithm>
#include <limits>

namespace zelk::sim {

SimulatedLine::SimulatedLine(ZelkModule& module, VirtualClock& clock, LineCalls& calls)
    : module_(module), clock_(clock), calls_(calls) {}

SimulatedLine::~SimulatedLine() = default;

void SimulatedLine::SetTimeouts(const CommTimeouts& timeouts) {
  ++calls_.set_timeouts;
  timeouts_ = timeouts;
}

IoResult SimulatedLine::Write(const std::uint8_t* data, std::size_t count) {
  ++calls_.writes;
  if (closed_) return {0, LineError::other};
  if (DeadAt(clock_.now_ms())) return {0, LineError::device_gone};

  for (std::size_t i = 0; i < count; ++i) {
    clock_.Advance(kByteTimeMs);
    const double now = clock_.now_ms();
    std::optional<ReplyPlan> plan = module_.Receive(&data[i], 1, now);
    if (!plan) continue;

    const std::vector<TimedByte> timed = ScheduleReply(*plan, now);
    QueueOnLine(incoming_, timed);
    if (plan->hang_up && hang_up_at_ms_ < 0) {
      hang_up_at_ms_ = timed.empty() ? now + kTurnaroundMs : incoming_.back().at_ms;
    }
  }
  return {count, LineError::none};
}

IoResult SimulatedLine::Read(std::uint8_t* data, std::size_t capacity) {
  ++calls_.reads;
  if (closed_) return {0, LineError::other};
  const double start = clock_.now_ms();
  if (DeadAt(start)) return {0, LineError::device_gone};

  constexpr double kNever = std::numeric_limits<double>::infinity();
  const bool has_total =
      timeouts_.read_total_multiplier_ms != 0 || timeouts_.read_total_constant_ms != 0;
  const double total_end = has_total ? start +
                                           static_cast<double>(timeouts_.read_total_multiplier_ms) *
                                               static_cast<double>(capacity) +
                                           timeouts_.read_total_constant_ms
                                     : kNever;

  std::size_t n = 0;
  double t = start;
  while (n < capacity) {
    double end = total_end;
    if (n > 0 && timeouts_.read_interval_ms != 0) {
      end = std::min(end, t + timeouts_.read_interval_ms);  // t: the last byte's arrival
    }
    if (!incoming_.empty()) {
      const double arrival = std::max(incoming_.front().at_ms, t);
      if (arrival <= end && !DeadAt(arrival)) {
        data[n++] = incoming_.front().value;
        incoming_.pop_front();
        t = arrival;
        continue;
      }
    }
    if (n == 0 && hang_up_at_ms_ >= 0 && hang_up_at_ms_ < end) {
      clock_.Advance(std::max(0.0, hang_up_at_ms_ - start));
      return {0, LineError::device_gone};
    }
    // With no time-out at all a real read would wait for ever; give back
    // what there is rather than hang the test.
    if (end != kNever) t = end;
    break;
  }
  clock_.Advance(t - start);
  return {n, LineError::none};
}

void SimulatedLine::PurgeOutput() {
  ++calls_.purge_output;
}

void SimulatedLine::PurgeInput() {
  ++calls_.purge_input;
  const double now = clock_.now_ms();
  while (!incoming_.empty() && incoming_.front().at_ms <= now) incoming_.pop_front();
}

void SimulatedLine::Close() {
  ++calls_.closes;
  closed_ = true;
}

SimulatedPort::SimulatedPort(EngineModelSettings engine, std::string port_name)
    : module_(engine), port_name_(std::move(port_name)) {}

LineOpener SimulatedPort::Opener() {
  return [this](const std::string& name) {
    OpenResult result;
    if (name != port_name_ || module_.hung_up()) {
      result.error = OpenError::not_found;
      result.detail = "no such simulated port: " + name;
    } else if (busy) {
      result.error = OpenError::busy;
      result.detail = "simulated port is busy";
    } else {
      ++opens_;
      // As the platform opener does: a port comes back configured for the link.
      auto line = std::make_unique<SimulatedLine>(module_, clock_, calls_);
      line->SetTimeouts(kLinkTimeouts);
      result.line = std::move(line);
    }
    return result;
  };
}

}  // namespace zelk::sim
