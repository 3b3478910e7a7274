// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every request the program sends to the module, by name. All senders use
// this table so a command, address or count is written down exactly once.

#include <cstdint>

namespace zelk {

struct RequestSpec {
  std::uint8_t command;
  std::uint16_t address;
  std::uint8_t count;
};

namespace requests {
inline constexpr RequestSpec kPollBlock{0, 0x43, 10};  // live values, every poll tick
inline constexpr RequestSpec kInstantBlock{0, 0x48,
                                           10};  // live snapshot after a read / during programs
inline constexpr RequestSpec kProgramStatus{0, 0x64, 2};  // program status byte
inline constexpr RequestSpec kReadSettings{1, 1, 25};     // the 25-byte settings block
inline constexpr RequestSpec kVersion{3, 1, 1};           // module version, major and minor
inline constexpr RequestSpec kWriteSettings{4, 1, 25};    // the whole settings block
inline constexpr RequestSpec kWriteMixture{4, 3, 1};      // the mixture byte alone
inline constexpr RequestSpec kProgramControl{13, 1, 1};   // 0 reset/abort, 1 RPM/lambda, 2 MAP
}  // namespace requests

// Payloads of the program-control command.
enum class ProgramControl : std::uint8_t { reset_or_abort = 0, rpm_lambda = 1, map = 2 };

// Program status byte bits.
inline constexpr std::uint8_t kStatusMapRunning = 0x01;
inline constexpr std::uint8_t kStatusMapPrompt = 0x02;
inline constexpr std::uint8_t kStatusRpmRunning = 0x40;

}  // namespace zelk
