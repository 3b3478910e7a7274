// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/request_parser.h"

#include "link/frame.h"

namespace zelk::sim {

namespace {
constexpr std::size_t kHeaderSize = 5;  // start, command, address x2, count
}

std::optional<Request> RequestParser::Feed(std::uint8_t byte, double now_ms) {
  if (!buf_.empty() && now_ms - last_byte_ms_ > kResetGapMs) buf_.clear();
  last_byte_ms_ = now_ms;
  return Push(byte);
}

std::optional<Request> RequestParser::Push(std::uint8_t byte) {
  if (buf_.empty() && byte != kFrameStart) return std::nullopt;
  buf_.push_back(byte);
  if (buf_.size() < kHeaderSize) return std::nullopt;

  const std::size_t count = buf_[4];
  if (count <= kMaxRequestPayload) {  // the module's frame buffer holds 100 bytes
    if (buf_.size() < kHeaderSize + count + 1) return std::nullopt;
    if (FrameChecksum(buf_) == 0) {
      Request request;
      request.command = buf_[1];
      request.address = static_cast<std::uint16_t>((buf_[2] << 8) | buf_[3]);
      request.payload.assign(buf_.begin() + kHeaderSize, buf_.end() - 1);
      buf_.clear();
      return request;
    }
  }

  // Not a frame after all: look for a start byte among the bytes that follow.
  // Each pass drops at least one byte, so this ends.
  std::vector<std::uint8_t> rest(buf_.begin() + 1, buf_.end());
  buf_.clear();
  std::optional<Request> found;
  for (const std::uint8_t b : rest) {
    std::optional<Request> request = Push(b);
    if (request && !found) found = std::move(request);
  }
  return found;
}

}  // namespace zelk::sim
