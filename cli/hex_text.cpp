// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/hex_text.h"

#include "records/folding.h"

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

std::string TerminalSafe(std::string_view text) {
  std::string safe;
  safe.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<std::uint8_t>(c);
    if (byte >= 0x20 && byte < 0x7F) {
      safe.push_back(c);
    } else {
      safe += "\\x";
      AppendByte(safe, byte);
    }
  }
  return safe;
}

std::string TerminalSafeUtf8(std::string_view text) {
  std::string safe;
  safe.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const Utf8Step step = DecodeUtf8At(text, at);
    // C1 controls (U+0080..U+009F) act as escapes on some terminals.
    if (step.length > 1 && step.code_point >= 0xA0) {
      safe.append(text.substr(at, step.length));
      at += step.length;
    } else {
      safe += TerminalSafe(text.substr(at, step.length > 0 ? step.length : 1));
      at += step.length > 0 ? step.length : 1;
    }
  }
  return safe;
}

std::string Excerpt(std::string_view text, std::size_t max) {
  if (text.size() <= max) return std::string(text);
  return std::string(text.substr(0, max)) + "...";
}

}  // namespace zelk::cli
