// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/frame_link.h"

#include <algorithm>
#include <utility>

#include "text/translatable.h"

namespace zelk {

FrameLink::FrameLink(LineOpener opener) : opener_(std::move(opener)) {}

FrameLink::~FrameLink() {
  ClosePort();
}

OpenResult FrameLink::OpenPort(const std::string& port_name) {
  if (port_open_) ClosePort();
  OpenResult result;
  if (opener_) {
    result = opener_(port_name);
  } else {
    result.error = OpenError::other;
    result.detail = QT_TRANSLATE_NOOP("Link", "no way to open a port");
  }
  if (!result.line) {
    if (result.error == OpenError::none) result.error = OpenError::other;
    return result;
  }
  line_ = std::move(result.line);
  port_open_ = true;
  result.error = OpenError::none;
  return result;
}

IoResult FrameLink::WriteFrame(std::size_t length) {
  const IoResult written = line_->Write(frame_buf_.data(), length);
  const std::size_t sent = std::min(written.bytes, length);
  if (trace_ && sent > 0) trace_(TraceDirection::sent, {frame_buf_.data(), sent});
  return written;
}

IoResult FrameLink::ReadFrame() {
  IoResult read = line_->Read(frame_buf_.data(), frame_buf_.size());
  read.bytes = std::min(read.bytes, frame_buf_.size());  // a line never gets to claim more
  if (trace_ && read.bytes > 0) trace_(TraceDirection::received, {frame_buf_.data(), read.bytes});
  return read;
}

bool FrameLink::ExchangeFrame(std::uint8_t command, std::uint16_t address, std::uint8_t count,
                              std::span<std::uint8_t> buffer) {
  return Exchange(command, address, count, 0, buffer);
}

bool FrameLink::ExchangeFrame(const RequestSpec& request, std::span<std::uint8_t> buffer) {
  return Exchange(request.command, request.address, request.count, request.reply_count, buffer);
}

bool FrameLink::MakeQuiet(LineError& last_error) {
  // Drop our unsent bytes, then whatever the module still sends for the
  // earlier exchange. Only a read that stays empty for its whole time-out
  // shows that nothing more is on its way.
  line_->PurgeOutput();
  for (int read = 0; read < kQuietReads; ++read) {
    const IoResult drained = ReadFrame();
    if (drained.error != LineError::none) last_error = drained.error;
    if (drained.bytes == 0) return true;
  }
  return false;
}

bool FrameLink::Exchange(std::uint8_t command, std::uint16_t address, std::uint8_t count,
                         std::size_t reply_count, std::span<std::uint8_t> buffer) {
  last_payload_size_ = 0;
  last_failure_ = ExchangeFailure::not_open;
  if (!port_open_) return false;
  last_failure_ = ExchangeFailure::bad_request;
  if (count > kMaxRequestPayload || count > buffer.size() || reply_count > buffer.size()) {
    return false;
  }

  // The error of the last write or read that failed; only a vanished device
  // changes the outcome.
  LineError last_error = LineError::none;
  auto note = [&last_error](const IoResult& io) {
    if (io.error != LineError::none) last_error = io.error;
  };

  if (resync_pending_ && !MakeQuiet(last_error)) {
    // Whatever keeps coming would be read as this request's answer: send
    // nothing, and let the next exchange try the quiet again.
    if (last_error == LineError::device_gone) {
      ClosePort();
      last_failure_ = ExchangeFailure::device_gone;
    } else {
      last_failure_ = ExchangeFailure::noisy_line;
    }
    return false;
  }

  const std::size_t length = BuildRequest(command, address, buffer.first(count), frame_buf_);
  // A request's check byte makes its own echo a well-formed reply: a loopback
  // plug or an echoing adapter would pass for a module. What comes back byte
  // for byte as sent is no answer.
  std::array<std::uint8_t, kFrameBufferSize> request{};
  std::copy_n(frame_buf_.begin(), length, request.begin());
  io_count_ = 0;
  int tries = 0;
  while (tries < kExchangeTries && io_count_ == 0) {
    ++tries;
    note(WriteFrame(length));
    const IoResult read = ReadFrame();
    note(read);
    io_count_ = read.bytes;  // a silent read leaves frame_buf_ holding the request
    if (io_count_ == length &&
        std::equal(request.begin(), request.begin() + length, frame_buf_.begin())) {
      io_count_ = 0;
    }
  }

  if (last_error == LineError::device_gone) {
    ClosePort();
    last_failure_ = ExchangeFailure::device_gone;
    return false;
  }
  if (io_count_ == 0) {
    resync_pending_ = true;
    last_failure_ = ExchangeFailure::no_reply;
    return false;
  }
  const std::span<const std::uint8_t> reply(frame_buf_.data(), io_count_);
  const bool accepted = ReplyAccepted(reply);
  const std::span<const std::uint8_t> payload = ReplyPayload(reply);
  if (!accepted || payload.size() < reply_count) {
    line_->PurgeOutput();
    resync_pending_ = true;
    last_failure_ = accepted ? ExchangeFailure::short_reply : ExchangeFailure::bad_check;
    return false;
  }

  last_payload_size_ = std::min(payload.size(), buffer.size());
  std::copy_n(payload.begin(), last_payload_size_, buffer.begin());
  // The tries given up on may still be answered: the next exchange waits
  // for the line to be quiet first.
  resync_pending_ = tries > 1;
  last_failure_ = ExchangeFailure::none;
  return true;
}

bool FrameLink::ClosePort() {
  if (!port_open_) return false;
  line_->PurgeInput();
  line_->Close();  // puts back the settings the port had when opened
  line_.reset();
  port_open_ = false;
  return true;
}

}  // namespace zelk
