// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/session.h"

#include <utility>

#include "session/watched_line.h"

namespace zelk {

// Marks one operation, however deeply the operations call each other, and
// ends a busy spell on every way out of it, an exception included.
class Session::Watch {
 public:
  explicit Watch(Session& session) : session_(session) {
    if (session_.watch_depth_++ == 0) session_.watch_started_ms_ = session_.clock_();
  }
  ~Watch() {
    if (--session_.watch_depth_ > 0 || !session_.busy_shown_) return;
    session_.busy_shown_ = false;
    if (session_.on_idle_) session_.on_idle_();
  }
  Watch(const Watch&) = delete;
  Watch& operator=(const Watch&) = delete;

 private:
  Session& session_;
};

double Session::SteadyMilliseconds() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

Session::Session(LineOpener opener, Clock clock)
    : clock_(std::move(clock)), link_(WatchedOpener(std::move(opener), [this] { AfterIo(); })) {}

void Session::SetBusyWatch(double after_ms, std::function<void()> on_busy,
                           std::function<void()> on_idle) {
  busy_after_ms_ = after_ms;
  on_busy_ = std::move(on_busy);
  on_idle_ = std::move(on_idle);
}

void Session::AfterIo() {
  if (watch_depth_ == 0 || busy_shown_ || !on_busy_) return;
  if (clock_() - watch_started_ms_ < busy_after_ms_) return;
  busy_shown_ = true;
  on_busy_();
}

Outcome Session::Open(const std::string& port_name) {
  Watch watch(*this);
  if (port_name != connected_port_) Forget();
  OpenResult opened = link_.OpenPort(port_name);
  Outcome outcome;
  outcome.failure = FailureOf(opened.error);
  if (outcome.ok()) {
    open_port_ = port_name;
  } else {
    outcome.detail = std::move(opened.detail);
  }
  return outcome;
}

bool Session::Close() {
  Forget();
  return link_.ClosePort();
}

void Session::Forget() {
  module_version_.reset();
  connected_port_.clear();
}

Result<std::size_t> Session::Exchange(std::uint8_t command, std::uint16_t address,
                                      std::uint8_t count, std::span<std::uint8_t> buffer) {
  Watch watch(*this);
  return Received(link_.ExchangeFrame(command, address, count, buffer));
}

Result<std::size_t> Session::Exchange(const RequestSpec& request, std::span<std::uint8_t> buffer) {
  Watch watch(*this);
  return Received(link_.ExchangeFrame(request, buffer));
}

Result<std::size_t> Session::Received(bool exchanged) const {
  Result<std::size_t> result;
  if (exchanged) {
    result.value = link_.last_payload_size();
  } else {
    result.failure = FailureOf(link_.last_failure());
  }
  return result;
}

Outcome Session::ExchangeOne(const RequestSpec& request, std::uint8_t payload) {
  std::array<std::uint8_t, 1> buffer{payload};
  return {Exchange(request, buffer).failure, {}, {}};
}

Result<ModuleVersion> Session::ReadVersion() {
  Result<ModuleVersion> result;
  // The one payload byte means nothing to the module; it goes out as 0.
  const Result<std::size_t> exchanged = Exchange(requests::kVersion, result.value.numbers);
  result.failure = exchanged.failure;
  result.value.received = exchanged.value;
  if (result.ok()) {
    module_version_ = result.value;
    connected_port_ = open_port_;
  }
  return result;
}

Result<ModuleVersion> Session::Connect(const std::string& port_name) {
  Watch watch(*this);
  const Outcome opened = Open(port_name);
  if (!opened.ok()) return {opened.failure, {}, opened.detail};
  Result<ModuleVersion> version = ReadVersion();
  // Closed without forgetting the module this port led to before: a failed
  // try on the same port (it is back, not yet answering) keeps it.
  if (!version.ok()) link_.ClosePort();
  return version;
}

Result<SettingsValues> Session::ReadSettingsBlock() {
  Result<SettingsValues> result;
  result.failure = Exchange(requests::kReadSettings, settings_block_).failure;
  if (result.ok()) result.value = DecodeSettingsValues(settings_block_);
  return result;
}

Result<InstantSample> Session::ReadInstantBlock() {
  Result<InstantSample> result;
  result.failure = Exchange(requests::kInstantBlock, live_buffer_).failure;
  if (result.ok()) {
    result.value = DecodeInstantSample(LiveBlockBytes(live_buffer_.data(), kLiveBlockSize));
  }
  return result;
}

SettingsRead Session::ReadSettings() {
  Watch watch(*this);
  SettingsRead read;
  read.settings = ReadSettingsBlock();
  read.instant = ReadInstantBlock();
  return read;
}

Outcome Session::WriteSettings(const SettingsBlock& encoded) {
  settings_block_ = encoded;
  return {Exchange(requests::kWriteSettings, settings_block_).failure, {}, {}};
}

SettingsWrite Session::WriteSettingsAndReadBack(const SettingsBlock& encoded) {
  Watch watch(*this);
  SettingsWrite written;
  written.write = WriteSettings(encoded);
  if (written.write.ok()) written.read_back = ReadSettings();
  return written;
}

Result<LiveSample> Session::Poll(std::optional<int> calibration_factor) {
  Result<LiveSample> result;
  result.failure = Exchange(requests::kPollBlock, live_buffer_).failure;
  if (result.ok()) {
    result.value =
        DecodePollSample(LiveBlockBytes(live_buffer_.data(), kLiveBlockSize), calibration_factor);
    result.value.taken_at = std::chrono::steady_clock::now();
  }
  return result;
}

Outcome Session::WriteMixture(std::uint8_t mixture) {
  Outcome written = ExchangeOne(requests::kWriteMixture, mixture);  // not const: moved out
  if (written.ok()) settings_block_[kMixtureOffset] = mixture;
  return written;
}

Outcome Session::ResetModule() {
  return ExchangeOne(requests::kProgramControl,
                     static_cast<std::uint8_t>(ProgramControl::reset_or_abort));
}

Outcome Session::StartProgram(EngineProgram program) {
  return ExchangeOne(requests::kProgramControl, static_cast<std::uint8_t>(StartPayload(program)));
}

Outcome Session::AbortProgram() {
  return ExchangeOne(requests::kProgramControl,
                     static_cast<std::uint8_t>(ProgramControl::reset_or_abort));
}

ProgramProgress Session::ReadProgramProgress() {
  Watch watch(*this);
  ProgramProgress progress;
  // The payloads of both reads are not significant; each tick starts clean,
  // and the status request carries what the snapshot left.
  program_buffer_.fill(0);
  progress.instant.failure = Exchange(requests::kInstantBlock, program_buffer_).failure;
  if (progress.instant.ok()) progress.instant.value = DecodeInstantSample(program_buffer_);
  progress.status.failure = Exchange(requests::kProgramStatus, program_buffer_).failure;
  if (progress.status.ok()) progress.status.value = program_buffer_[0];
  return progress;
}

}  // namespace zelk
