// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cells of the live log and of the chart's export. A spreadsheet must read
// them the same way in every locale, so none of them consults one: '.' is the
// decimal point, numbers have at most 10 significant digits (LogNumberCell),
// times are UTC.

#include <chrono>
#include <cstdint>
#include <span>
#include <string>

namespace zelk {

// Shortest fixed-point text that reads back to exactly `value` ("0.1", "750",
// "0.9803921568627451"); never an exponent, never "-0". Not finite: empty.
std::string NumberCell(double value);

// The live log's numbers: rounded to at most 10 significant digits, which is
// more than any decoder's input carries, so a spreadsheet shows 3.1192, not
// the binary noise of 3.1192000000000002 ("0.9803921569", "375.0300024",
// "18750000"). Fixed-point, no trailing zeros, never an exponent, never
// "-0". Not finite: empty.
inline constexpr int kLogSignificantDigits = 10;
std::string LogNumberCell(double value);

// Seconds with 3 decimals from whole milliseconds: 1234 -> "1.234".
std::string SecondsCell(std::chrono::milliseconds elapsed);

// UTC in ISO 8601 with milliseconds: "2026-12-09T10:15:00.123Z".
std::string UtcCell(std::chrono::system_clock::time_point at);

// Lower-case hex, two digits a byte, no separator.
std::string HexCell(std::span<const std::uint8_t> bytes);

}  // namespace zelk
