// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two 10-byte blocks of live values the module offers, and their texts for
// the live boxes. Words are little-endian, unlike the frame's address field.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zelk {

inline constexpr std::size_t kLiveBlockSize = 10;
inline constexpr std::size_t kLiveBufferSize =
    25;  // the main window's buffer; blocks fill its start

using LiveBlockBytes = std::span<const std::uint8_t, kLiveBlockSize>;

// Polled every 500 ms from the main window.
namespace poll_block {
inline constexpr std::size_t kPeriodLow = 0;     // RPM period word, bytes 0 and 1
inline constexpr std::size_t kInjectionLow = 2;  // injection word, bytes 2 and 3
inline constexpr std::size_t kCorrection = 5;
inline constexpr std::size_t kTemperature = 7;
inline constexpr std::size_t kMap = 8;
inline constexpr std::size_t kLambda = 9;
}  // namespace poll_block

// Read once after the settings, and by the programming progress dialog.
namespace instant_block {
inline constexpr std::size_t kCorrection = 0;
inline constexpr std::size_t kTemperature = 2;
inline constexpr std::size_t kMap = 3;
inline constexpr std::size_t kLambda = 4;
}  // namespace instant_block

// In the order the poll fills the boxes: atual_temp, atual_map, atual_lambda,
// atual_corr, atual_rpm, atual_inj.
struct LiveTexts {
  std::string temp, map, lambda, corr, rpm, inj;
};

// atual_temp, atual_map, atual_lambda, atual_corr (the progress dialog uses the
// first three).
struct InstantTexts {
  std::string temp, map, lambda, corr;
};

// `cal_text` is the rpm_cal caption. The RPM shows "0" when it cannot be
// computed: a caption that is not a whole number above 0, or a period of 0.
LiveTexts DecodePollBlock(LiveBlockBytes block, std::string_view cal_text, char decimal_separator);

InstantTexts DecodeInstantBlock(LiveBlockBytes block, char decimal_separator);

}  // namespace zelk
