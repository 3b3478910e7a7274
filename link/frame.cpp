// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/frame.h"

namespace zelk {

std::uint8_t FrameChecksum(const std::uint8_t* bytes, std::uint32_t length) {
  std::uint8_t crc = 0;
  for (std::uint32_t i = 0; i < length; ++i) {
    crc ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit) {
      crc = (crc & 0x80) ? static_cast<std::uint8_t>((crc << 1) ^ 0x07)
                         : static_cast<std::uint8_t>(crc << 1);
    }
  }
  return crc;
}

std::size_t BuildRequest(std::uint8_t command, std::uint16_t address,
                         std::span<const std::uint8_t> payload,
                         std::array<std::uint8_t, kFrameBufferSize>& out) {
  if (payload.size() > kMaxRequestPayload) return 0;
  out[0] = kFrameStart;
  out[1] = command;
  out[2] = static_cast<std::uint8_t>(address >> 8);
  out[3] = static_cast<std::uint8_t>(address & 0xFF);
  out[4] = static_cast<std::uint8_t>(payload.size());
  for (std::size_t i = 0; i < payload.size(); ++i) out[5 + i] = payload[i];
  const std::size_t body = 5 + payload.size();
  out[body] = FrameChecksum(out.data(), static_cast<std::uint32_t>(body));
  return body + 1;
}

bool ReplyAccepted(std::span<const std::uint8_t> reply) {
  return !reply.empty() && FrameChecksum(reply) == 0;
}

std::span<const std::uint8_t> ReplyPayload(std::span<const std::uint8_t> reply) {
  if (reply.size() <= kReplyOverhead) return {};
  return reply.subspan(2, reply.size() - kReplyOverhead);
}

}  // namespace zelk
