// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small helpers shared by the simulator tests.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "link/frame.h"
#include "sim/module.h"

namespace zelk::sim::testing {

using Bytes = std::vector<std::uint8_t>;

inline Bytes RequestBytes(std::uint8_t command, std::uint16_t address, const Bytes& payload) {
  std::array<std::uint8_t, kFrameBufferSize> frame{};
  const std::size_t length = BuildRequest(command, address, payload, frame);
  return Bytes(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(length));
}

// A well-formed reply: F3, the command, the payload, the CRC-8 of all before it.
inline Bytes ReplyFrame(std::uint8_t command, const Bytes& payload) {
  Bytes frame;
  frame.reserve(payload.size() + 3);
  frame.push_back(0xF3);
  frame.push_back(command);
  for (std::uint8_t byte : payload) frame.push_back(byte);
  frame.push_back(FrameChecksum(frame));
  return frame;
}

// Sends one request to the module and returns the plan of its answer.
inline ReplyPlan Ask(ZelkModule& module, std::uint8_t command, std::uint16_t address,
                     const Bytes& payload, double now_ms = 0) {
  const Bytes request = RequestBytes(command, address, payload);
  std::optional<ReplyPlan> plan = module.Receive(request.data(), request.size(), now_ms);
  return plan ? *plan : ReplyPlan{};
}

}  // namespace zelk::sim::testing
