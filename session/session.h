// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Session: the module's operations over one FrameLink, for every front end
// (the windows, zelkctl, and what comes later: files, logs, the search for
// the module). It holds the program's picture of the module: the settings
// block as last read or written, and the live buffer whose bytes the poll
// sends back as its payload. Each operation sends exactly the requests the
// configurator has always sent, and says why it failed by a Failure kind.

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "link/frame_link.h"
#include "link/requests.h"
#include "monitor/live_blocks.h"
#include "monitor/live_sample.h"
#include "programming/program_status.h"
#include "session/failure.h"
#include "session/module_version.h"
#include "settings/settings_block.h"
#include "settings/settings_values.h"

namespace zelk {

struct Done {};

template <typename Value>
struct Result {
  Failure failure = Failure::none;
  Value value{};
  std::string detail;  // an open failure: the system's own words, for diagnostics

  bool ok() const { return failure == Failure::none; }
};

using Outcome = Result<Done>;

struct SettingsRead {
  Result<SettingsValues> settings;
  Result<InstantSample> instant;  // tried whatever became of the settings
};

struct SettingsWrite {
  Outcome write;
  std::optional<SettingsRead> read_back;  // only after a write that was answered
};

// One tick of a running program: the live snapshot, then the status byte.
struct ProgramProgress {
  Result<InstantSample> instant;
  Result<std::uint8_t> status;
};

using LiveBuffer = std::array<std::uint8_t, kLiveBufferSize>;

class Session {
 public:
  // Milliseconds on a monotonic clock; the simulated module brings its own.
  using Clock = std::function<double()>;
  static double SteadyMilliseconds();

  explicit Session(LineOpener opener = OpenPlatformSerialLine, Clock clock = SteadyMilliseconds);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // The port. Open closes an open port first; Connect opens and asks for the
  // version, and closes the port again when the module does not answer.
  Outcome Open(const std::string& port_name);
  Result<ModuleVersion> ReadVersion();
  Result<ModuleVersion> Connect(const std::string& port_name);
  bool Close();  // true when a port was open
  // A port is open (it closes by itself when its device goes away).
  bool connected() const { return link_.port_open(); }

  // The module this session reached: the port whose version request was
  // last answered, and that version. Close and an Open of another port
  // forget it. A device that went away, and a failed Connect to the same
  // port, leave it: that module is still the one expected there (the window
  // waits for it to come back).
  bool module_answered() const { return module_version_.has_value(); }
  const std::optional<ModuleVersion>& module_version() const { return module_version_; }
  // Empty when no module answered.
  const std::string& connected_port() const { return connected_port_; }

  // The settings block, asked with the block as held as its payload. On
  // success the block holds the reply; on failure it keeps what it had.
  Result<SettingsValues> ReadSettingsBlock();
  // The live snapshot, into the live buffer.
  Result<InstantSample> ReadInstantBlock();
  // Both, in this order.
  SettingsRead ReadSettings();

  // Sends `encoded` as the whole block, which the session holds from now on
  // (answered or not, as the next write starts from it).
  Outcome WriteSettings(const SettingsBlock& encoded);
  // The write, then (when answered) the read back.
  SettingsWrite WriteSettingsAndReadBack(const SettingsBlock& encoded);

  // One poll: the live buffer's first bytes go out as the payload and the
  // reply takes their place. `calibration_factor` scales the RPM.
  Result<LiveSample> Poll(std::optional<int> calibration_factor);

  // The mixture byte alone; once answered the held block carries it too, so
  // a later write does not put the old byte back.
  Outcome WriteMixture(std::uint8_t mixture);
  Outcome ResetModule();
  Outcome StartProgram(EngineProgram program);
  ProgramProgress ReadProgramProgress();
  Outcome AbortProgram();

  // Any request, for diagnostics (zelkctl raw): the payload is the first
  // `count` bytes of `buffer`, the reply's payload comes back into it; the
  // value is the number of payload bytes copied. A reply of any length is
  // taken: the person asking reads what came.
  Result<std::size_t> Exchange(std::uint8_t command, std::uint16_t address, std::uint8_t count,
                               std::span<std::uint8_t> buffer);

  const SettingsBlock& settings_block() const { return settings_block_; }
  const LiveBuffer& live_buffer() const { return live_buffer_; }

  // Every frame on the line, for diagnostics.
  void SetTrace(FrameTrace trace) { link_.SetTrace(std::move(trace)); }

  // `on_busy` runs once an operation has taken `after_ms` (checked after each
  // write and read on the line), `on_idle` when that operation ends, on every
  // way out of it.
  void SetBusyWatch(double after_ms, std::function<void()> on_busy, std::function<void()> on_idle);

 private:
  class Watch;
  void AfterIo();
  Outcome ExchangeOne(const RequestSpec& request, std::uint8_t payload);
  // A request of the table: a reply short of its reply_count fails.
  Result<std::size_t> Exchange(const RequestSpec& request, std::span<std::uint8_t> buffer);
  Result<std::size_t> Received(bool exchanged) const;
  void Forget();  // the module reached

  Clock clock_;
  FrameLink link_;
  std::string open_port_;  // the name the open port was opened by
  std::optional<ModuleVersion> module_version_;
  std::string connected_port_;
  SettingsBlock settings_block_{};
  LiveBuffer live_buffer_{};
  std::array<std::uint8_t, kLiveBlockSize> program_buffer_{};

  double busy_after_ms_ = 0;
  std::function<void()> on_busy_;
  std::function<void()> on_idle_;
  int watch_depth_ = 0;
  double watch_started_ms_ = 0;
  bool busy_shown_ = false;
};

}  // namespace zelk
