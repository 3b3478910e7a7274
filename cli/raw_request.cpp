// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/raw_request.h"

#include <optional>

#include "cli/hex_text.h"
#include "link/frame.h"

namespace zelk::cli {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::vector<std::string_view> Tokens(std::string_view line) {
  std::vector<std::string_view> tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (i > start) tokens.push_back(line.substr(start, i - start));
  }
  return tokens;
}

std::optional<unsigned> HexDigit(char c) {
  if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
  return std::nullopt;
}

// A field of the request: decimal or 0x-hex, at most `max`. Stops counting
// once past `max`, so no length of digits can overflow.
bool ParseField(std::string_view token, std::string_view field, unsigned max, unsigned& value,
                std::string& error) {
  unsigned base = 10;
  std::string_view digits = token;
  if (digits.starts_with("0x") || digits.starts_with("0X")) {
    base = 16;
    digits.remove_prefix(2);
  }
  unsigned long long number = 0;
  bool too_big = false;
  for (char c : digits) {
    const std::optional<unsigned> digit = HexDigit(c);
    if (!digit || *digit >= base) {
      digits = {};
      break;
    }
    if (!too_big) number = number * base + *digit;
    if (number > max) too_big = true;
  }
  if (digits.empty()) {
    error = std::string(field) + " '" + Excerpt(token) + "' is not a number (decimal or 0x-hex)";
    return false;
  }
  if (too_big) {
    error =
        std::string(field) + " " + Excerpt(token) + " is out of range 0.." + std::to_string(max);
    return false;
  }
  value = static_cast<unsigned>(number);
  return true;
}

RawLine Bad(std::string error) {
  RawLine line;
  line.kind = RawLineKind::bad;
  line.error = std::move(error);
  return line;
}

}  // namespace

RawLine ParseRawLine(std::string_view text) {
  const std::vector<std::string_view> tokens = Tokens(text);
  if (tokens.empty() || tokens.front().starts_with('#')) return {};
  if (tokens.size() < 3) return Bad("expected COMMAND ADDRESS COUNT [PAYLOAD-HEX]");
  if (tokens.size() > 4) {
    return Bad("unexpected '" + Excerpt(tokens[4]) + "' after the payload");
  }

  unsigned command = 0;
  unsigned address = 0;
  unsigned count = 0;
  std::string error;
  if (!ParseField(tokens[0], "command", 0xFF, command, error) ||
      !ParseField(tokens[1], "address", 0xFFFF, address, error) ||
      !ParseField(tokens[2], "count", kMaxRequestPayload, count, error)) {
    return Bad(error);
  }

  RawLine line;
  line.kind = RawLineKind::request;
  line.request.command = static_cast<std::uint8_t>(command);
  line.request.address = static_cast<std::uint16_t>(address);
  line.request.count = static_cast<std::uint8_t>(count);
  line.request.payload.assign(count, 0);

  if (tokens.size() == 4) {
    const std::string_view hex = tokens[3];
    for (char c : hex) {
      if (!HexDigit(c)) return Bad("payload '" + Excerpt(hex) + "' is not hex digit pairs");
    }
    if (hex.size() % 2 != 0) {
      return Bad("payload '" + Excerpt(hex) + "' has an odd number of hex digits");
    }
    const std::size_t bytes = hex.size() / 2;
    if (bytes > count) {
      return Bad("payload has " + std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes") +
                 " but count is " + std::to_string(count));
    }
    for (std::size_t i = 0; i < bytes; ++i) {
      line.request.payload[i] =
          static_cast<std::uint8_t>(*HexDigit(hex[2 * i]) << 4 | *HexDigit(hex[2 * i + 1]));
    }
  }
  return line;
}

}  // namespace zelk::cli
