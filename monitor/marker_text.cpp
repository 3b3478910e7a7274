// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/marker_text.h"

#include <cstdint>

namespace zelk {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// The length of the valid UTF-8 sequence at the start of `text`, 0 when the
// bytes there are not one (overlong forms and surrogates included).
std::size_t Utf8SequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  const std::uint8_t lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  std::uint8_t low = 0x80;
  std::uint8_t high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  if (byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

// C0 controls, DEL and the C1 controls (U+0080 to U+009F, "\xC2\x80".."\xC2\x9F").
bool IsControl(std::string_view character) {
  const auto lead = static_cast<std::uint8_t>(character[0]);
  if (character.size() == 1) return lead < 0x20 || lead == 0x7F;
  return character.size() == 2 && lead == 0xC2 && static_cast<std::uint8_t>(character[1]) < 0xA0;
}

}  // namespace

std::string CleanMarkerText(std::string_view text) {
  std::string clean;
  clean.reserve(text.size() < kMaxMarkerBytes ? text.size() : kMaxMarkerBytes);
  std::size_t kept_up_to = 0;  // clean's size without its trailing spaces
  while (!text.empty()) {
    const std::size_t length = Utf8SequenceLength(text);
    const std::string_view character = length ? text.substr(0, length) : kReplacement;
    text.remove_prefix(length ? length : 1);
    if (IsControl(character)) continue;
    if (character == " " && clean.empty()) continue;
    if (clean.size() + character.size() > kMaxMarkerBytes) break;
    clean += character;
    if (character != " ") kept_up_to = clean.size();
  }
  clean.resize(kept_up_to);
  return clean;
}

std::string QuotedCell(std::string_view text) {
  std::string cell = "\"";
  for (const char c : text) {
    if (c == '"') cell += '"';
    cell += c;
  }
  cell += '"';
  return cell;
}

}  // namespace zelk
