// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The module's side of the request frame: F3, command, address (high byte
// first), count, count payload bytes, CRC-8 of everything before it.

#include <cstdint>
#include <optional>
#include <vector>

namespace zelk::sim {

struct Request {
  std::uint8_t command = 0;
  std::uint16_t address = 0;
  std::vector<std::uint8_t> payload;
};

// Incremental request parser for a byte stream: skips bytes until a start
// byte, then collects the header, payload and check byte. A frame with a bad
// check byte or an impossible count is dropped and the bytes after its start
// byte are searched again, so a real request hidden behind line noise is still
// found. A gap longer than kResetGapMs drops a partial frame.
class RequestParser {
 public:
  // Returns a complete, valid request when `byte` finishes one.
  std::optional<Request> Feed(std::uint8_t byte, double now_ms);
  void Reset() { buf_.clear(); }

  static constexpr double kResetGapMs = 50;

 private:
  std::optional<Request> Push(std::uint8_t byte);

  std::vector<std::uint8_t> buf_;
  double last_byte_ms_ = 0;
};

}  // namespace zelk::sim
