// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An in-process SerialLine in front of a ZelkModule, running on a virtual
// clock: bytes take their 19200-baud time, the reply plan's pauses are honoured
// and the read time-outs are applied exactly, but nothing sleeps. Tests of the
// link and of the windows run through it at full speed.

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "link/frame_link.h"
#include "link/serial_line.h"
#include "sim/module.h"

namespace zelk::sim {

class VirtualClock {
 public:
  double now_ms() const { return now_ms_; }
  void Advance(double ms) { now_ms_ += ms; }

 private:
  double now_ms_ = 0;
};

// Counts what the program did to the line, for assertions.
struct LineCalls {
  int writes = 0;
  int reads = 0;
  int purge_output = 0;
  int purge_input = 0;
  int closes = 0;
  int set_timeouts = 0;
};

// The module, clock and counters must outlive the line.
class SimulatedLine : public SerialLine {
 public:
  SimulatedLine(ZelkModule& module, VirtualClock& clock, LineCalls& calls);
  ~SimulatedLine() override;

  void SetTimeouts(const CommTimeouts& timeouts) override;
  // Takes the bytes' transmission time, then hands them to the module.
  IoResult Write(const std::uint8_t* data, std::size_t count) override;
  // Waits on the virtual clock by the time-out rules; bytes the read does not
  // take stay pending for the next read.
  IoResult Read(std::uint8_t* data, std::size_t capacity) override;
  void PurgeOutput() override;
  // Drops the bytes that have arrived by now; bytes still on their way arrive later.
  void PurgeInput() override;
  void Close() override;

  // Bytes scheduled to arrive that no read has taken yet, arrived or not.
  std::size_t pending() const { return incoming_.size(); }

 private:
  // The last byte before a hang-up still arrives; nothing after it does.
  bool DeadAt(double t) const { return hang_up_at_ms_ >= 0 && t > hang_up_at_ms_; }

  ZelkModule& module_;
  VirtualClock& clock_;
  LineCalls& calls_;
  CommTimeouts timeouts_{};
  std::deque<TimedByte> incoming_;  // in order of arrival
  double hang_up_at_ms_ = -1;       // >= 0: the line dies at this time
  bool closed_ = false;
};

// A simulated module with its clock and a LineOpener that hands out
// SimulatedLines, for FrameLink/TForm2 in tests. Port names other than
// `port_name` fail with not_found, and so does every name while the module
// has hung up (the device is gone until module().Reconnect()); `busy` makes
// every open fail as busy. A line it opens runs with kLinkTimeouts, as a port
// from the platform opener does. The port must outlive the lines it opened.
class SimulatedPort {
 public:
  explicit SimulatedPort(EngineModelSettings engine = {}, std::string port_name = "SIM");
  LineOpener Opener();

  ZelkModule& module() { return module_; }
  VirtualClock& clock() { return clock_; }
  const LineCalls& calls() const { return calls_; }
  int opens() const { return opens_; }
  const std::string& port_name() const { return port_name_; }
  bool busy = false;

 private:
  ZelkModule module_;
  VirtualClock clock_;
  LineCalls calls_;
  std::string port_name_;
  int opens_ = 0;
};

}  // namespace zelk::sim
