// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One line of `zelkctl raw` input: COMMAND ADDRESS COUNT [PAYLOAD-HEX].

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zelk::cli {

struct RawRequest {
  std::uint8_t command = 0;
  std::uint16_t address = 0;
  std::uint8_t count = 0;
  std::vector<std::uint8_t> payload;  // always `count` bytes; what the line left out is zero
};

enum class RawLineKind { request, skip, bad };

struct RawLine {
  RawLineKind kind = RawLineKind::skip;
  RawRequest request;  // for RawLineKind::request
  std::string error;   // for RawLineKind::bad
};

// Blank lines and lines whose first non-blank character is '#' are skipped.
// Numbers are decimal or 0x-hex; the payload is one token of hex digit pairs.
RawLine ParseRawLine(std::string_view text);

}  // namespace zelk::cli
