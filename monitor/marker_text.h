// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text of a marker, the one free text a live log carries. It is cleaned
// the same way when it is written and when it is read back, so a log edited by
// hand cannot bring into a window what the program would never have written.

#include <cstddef>
#include <string>
#include <string_view>

namespace zelk {

// Long enough for "cold start, choke pulled" and the like; short enough for a
// label on a chart.
inline constexpr std::size_t kMaxMarkerBytes = 200;

// `text` as UTF-8 (an invalid byte becomes U+FFFD), without control
// characters (a line break would end the log's row), trimmed of spaces at both
// ends and cut to kMaxMarkerBytes at a character's boundary.
std::string CleanMarkerText(std::string_view text);

// An RFC 4180 quoted cell: "text" with each " doubled.
std::string QuotedCell(std::string_view text);

}  // namespace zelk
