// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/csv_cells.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace zelk {

std::string NumberCell(double value) {
  if (!std::isfinite(value)) return {};
  if (value == 0) value = 0;  // -0 reads as 0
  // Fixed notation of a double needs at most 309 integer digits and 767
  // fraction digits; the shortest round trip needs far fewer, but the buffer
  // must hold the worst case of the format.
  std::array<char, 1100> text{};
  const auto [end, error] =
      std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (error != std::errc()) return {};
  return {text.data(), end};
}

std::string LogNumberCell(double value) {
  if (!std::isfinite(value)) return {};
  if (value == 0) return "0";
  // "-d.ddddddddde-XXX": the digits rounded once, then placed around the point.
  std::array<char, 40> scientific{};
  const auto [end, error] =
      std::to_chars(scientific.data(), scientific.data() + scientific.size(), value,
                    std::chars_format::scientific, kLogSignificantDigits - 1);
  if (error != std::errc()) return {};
  const std::string_view text(scientific.data(), static_cast<std::size_t>(end - scientific.data()));
  const bool negative = text.front() == '-';
  const std::size_t e_at = text.find('e');
  std::string digits;
  for (const char c : text.substr(negative ? 1 : 0, e_at - (negative ? 1 : 0))) {
    if (c != '.') digits += c;
  }
  int exponent = 0;
  const std::string_view exponent_text = text.substr(e_at + 1);
  const bool exponent_negative = exponent_text.front() == '-';
  const std::string_view exponent_digits = exponent_text.substr(1);
  std::from_chars(exponent_digits.data(), exponent_digits.data() + exponent_digits.size(),
                  exponent);
  if (exponent_negative) exponent = -exponent;

  std::string cell = negative ? "-" : "";
  const int count = static_cast<int>(digits.size());
  if (exponent >= count - 1) {
    cell += digits;
    cell.append(static_cast<std::size_t>(exponent - (count - 1)), '0');
    return cell;
  }
  if (exponent >= 0) {
    const auto whole = static_cast<std::size_t>(exponent) + 1;  // digits before the point
    cell.append(digits, 0, whole);
    cell += '.';
    cell.append(digits, whole);
  } else {
    cell += "0.";
    cell.append(static_cast<std::size_t>(-exponent - 1), '0');
    cell += digits;
  }
  while (cell.back() == '0') cell.pop_back();
  if (cell.back() == '.') cell.pop_back();
  return cell;
}

std::string SecondsCell(std::chrono::milliseconds elapsed) {
  const long long ms = elapsed.count();
  const char* sign = ms < 0 ? "-" : "";
  const long long magnitude = ms < 0 ? -ms : ms;
  std::array<char, 32> text{};
  const int length = std::snprintf(text.data(), text.size(), "%s%lld.%03lld", sign,
                                   magnitude / 1000, magnitude % 1000);
  return {text.data(), static_cast<std::size_t>(length)};
}

std::string UtcCell(std::chrono::system_clock::time_point at) {
  using namespace std::chrono;
  const auto ms = floor<milliseconds>(at);
  const auto day = floor<days>(ms);
  const year_month_day date{day};
  const hh_mm_ss time{ms - day};
  std::array<char, 40> text{};
  const int length = std::snprintf(
      text.data(), text.size(), "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ",
      static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
      static_cast<unsigned>(date.day()), static_cast<int>(time.hours().count()),
      static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count()),
      static_cast<int>(time.subseconds().count()));
  return {text.data(), static_cast<std::size_t>(length)};
}

std::string HexCell(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (const std::uint8_t byte : bytes) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

}  // namespace zelk
