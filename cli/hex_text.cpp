// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/hex_text.h"

namespace zelk::cli {
namespace {

constexpr char kDigits[] = "0123456789abcdef";

void AppendByte(std::string& text, std::uint8_t byte) {
  text.push_back(kDigits[byte >> 4]);
  text.push_back(kDigits[byte & 0x0F]);
}

}  // namespace

std::string HexPairs(std::span<const std::uint8_t> bytes) {
  std::string text;
  text.reserve(bytes.size() * 2);
  for (std::uint8_t byte : bytes) AppendByte(text, byte);
  return text;
}

std::string SpacedHex(std::span<const std::uint8_t> bytes) {
  std::string text;
  text.reserve(bytes.size() * 3);
  for (std::uint8_t byte : bytes) {
    if (!text.empty()) text.push_back(' ');
    AppendByte(text, byte);
  }
  return text;
}

std::string Excerpt(std::string_view text, std::size_t max) {
  if (text.size() <= max) return std::string(text);
  return std::string(text.substr(0, max)) + "...";
}

}  // namespace zelk::cli
