// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The module's frame format, without any I/O.
//
// Request: F3, command, address high, address low, count, payload[count], CRC-8.
// Reply:   two bytes nobody inspects, payload, CRC-8 of all bytes before it.
// A reply has no length field: it is delimited by a pause on the line.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zelk {

inline constexpr std::uint8_t kFrameStart = 0xF3;
inline constexpr std::size_t kFrameBufferSize = 100;
inline constexpr std::size_t kRequestOverhead = 6;  // start, command, address x2, count, check
inline constexpr std::size_t kMaxRequestPayload = kFrameBufferSize - kRequestOverhead;  // 94
inline constexpr std::size_t kReplyOverhead = 3;  // two leading bytes and the check byte
inline constexpr std::size_t kMaxReplyPayload = kFrameBufferSize - kReplyOverhead;  // 97

// CRC-8, polynomial 0x07, initial value 0, MSB first, no reflection, no final XOR.
std::uint8_t FrameChecksum(const std::uint8_t* bytes, std::uint32_t length);
inline std::uint8_t FrameChecksum(std::span<const std::uint8_t> bytes) {
  return FrameChecksum(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

// Builds the request into `out` and returns its length (payload.size() + 6).
// Returns 0 and writes nothing when the payload exceeds 94 bytes.
std::size_t BuildRequest(std::uint8_t command, std::uint16_t address,
                         std::span<const std::uint8_t> payload,
                         std::array<std::uint8_t, kFrameBufferSize>& out);

// A reply is accepted when the CRC-8 over all its bytes, check byte included, is 0.
bool ReplyAccepted(std::span<const std::uint8_t> reply);

// The payload of an accepted reply: bytes 2 .. L-2 (empty for L <= 3).
std::span<const std::uint8_t> ReplyPayload(std::span<const std::uint8_t> reply);

}  // namespace zelk
