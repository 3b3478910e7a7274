// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every request the program sends to the module, by name. All senders use
// this table so a command, address or count is written down exactly once.
// Each request also says how many reply payload bytes its callers read: the
// reply has no length field, and a frame that passes its check byte but
// stops early (a single 0x00 from a line break passes the CRC-8) must not be
// taken for data.

#include <cstdint>

namespace zelk {

struct RequestSpec {
  std::uint8_t command;
  std::uint16_t address;
  std::uint8_t count;
  std::uint8_t reply_count;  // payload bytes a reply must carry to be used
};

namespace requests {
// live values, every poll tick
inline constexpr RequestSpec kPollBlock{0, 0x43, 10, 10};
// live snapshot after a read / during programs
inline constexpr RequestSpec kInstantBlock{0, 0x48, 10, 10};
// program status byte (and the byte after it)
inline constexpr RequestSpec kProgramStatus{0, 0x64, 2, 2};
// the 25-byte settings block
inline constexpr RequestSpec kReadSettings{1, 1, 25, 25};
// module version, major and minor
inline constexpr RequestSpec kVersion{3, 1, 1, 2};
// the whole settings block; the accepted reply is the acknowledgement
inline constexpr RequestSpec kWriteSettings{4, 1, 25, 0};
// the mixture byte alone
inline constexpr RequestSpec kWriteMixture{4, 3, 1, 0};
// 0 reset/abort, 1 RPM/lambda, 2 MAP
inline constexpr RequestSpec kProgramControl{13, 1, 1, 0};
}  // namespace requests

// Payloads of the program-control command.
enum class ProgramControl : std::uint8_t { reset_or_abort = 0, rpm_lambda = 1, map = 2 };

// Program status byte bits.
inline constexpr std::uint8_t kStatusMapRunning = 0x01;
inline constexpr std::uint8_t kStatusMapPrompt = 0x02;
inline constexpr std::uint8_t kStatusRpmRunning = 0x40;

}  // namespace zelk
