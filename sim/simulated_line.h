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

inline constexpr double kByteTimeMs = 10.0 * 1000.0 / 19200.0;  // ~0.52 ms

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

class SimulatedLine : public SerialLine {
 public:
  SimulatedLine(ZelkModule& module, VirtualClock& clock, LineCalls& calls);
  ~SimulatedLine() override;

  void SetTimeouts(const CommTimeouts& timeouts) override;
  IoResult Write(const std::uint8_t* data, std::size_t count) override;
  IoResult Read(std::uint8_t* data, std::size_t capacity) override;
  void PurgeOutput() override;
  void PurgeInput() override;
  void Close() override;

 private:
  struct PendingByte {
    double arrival_ms;
    std::uint8_t value;
  };
  ZelkModule& module_;
  VirtualClock& clock_;
  LineCalls& calls_;
  CommTimeouts timeouts_{};
  std::deque<PendingByte> incoming_;
  double hang_up_at_ms_ = -1;  // >= 0: the line dies at this time
  bool closed_ = false;
};

// A simulated module with its clock and a LineOpener that hands out
// SimulatedLines, for FrameLink/TForm2 in tests. Port names other than
// `port_name` fail with not_found; `busy` makes every open fail as busy.
class SimulatedPort {
 public:
  explicit SimulatedPort(EngineModelSettings engine = {}, std::string port_name = "SIM");
  LineOpener Opener();

  ZelkModule& module() { return module_; }
  VirtualClock& clock() { return clock_; }
  const LineCalls& calls() const { return calls_; }
  int opens() const { return opens_; }
  bool busy = false;

 private:
  ZelkModule module_;
  VirtualClock clock_;
  LineCalls calls_;
  std::string port_name_;
  int opens_ = 0;
};

}  // namespace zelk::sim
