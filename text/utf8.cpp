// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/utf8.h"

namespace zelk {

Utf8Step DecodeUtf8At(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  char32_t value = 0;
  char32_t smallest = 0;  // below this the form is overlong
  if ((lead & 0xE0) == 0xC0) {
    length = 2, value = lead & 0x1F, smallest = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, value = lead & 0x0F, smallest = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, value = lead & 0x07, smallest = 0x10000;
  } else {
    return {};
  }
  if (at + length > text.size()) return {};
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return {};
    value = (value << 6) | (byte(i) & 0x3F);
  }
  if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return {};
  return {value, length};
}

std::optional<std::vector<char32_t>> DecodeUtf8(std::string_view text) {
  std::vector<char32_t> code_points;
  for (std::size_t at = 0; at < text.size();) {
    const Utf8Step one = DecodeUtf8At(text, at);
    if (one.length == 0) return std::nullopt;
    code_points.push_back(one.code_point);
    at += one.length;
  }
  return code_points;
}

void AppendUtf8(std::string& out, char32_t c) {
  const auto put = [&](unsigned value) { out.push_back(static_cast<char>(value)); };
  if (c < 0x80) {
    put(c);
  } else if (c < 0x800) {
    put(0xC0 | (c >> 6)), put(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    put(0xE0 | (c >> 12)), put(0x80 | ((c >> 6) & 0x3F)), put(0x80 | (c & 0x3F));
  } else {
    put(0xF0 | (c >> 18)), put(0x80 | ((c >> 12) & 0x3F)), put(0x80 | ((c >> 6) & 0x3F));
    put(0x80 | (c & 0x3F));
  }
}

}  // namespace zelk
