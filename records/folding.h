// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts compared the way a technician reads them: "ABC-1d23", "abc-1D23" and,
// for a customer, "José" and "JOSE" are the same. Folding lowers the case and
// drops the accents of the Latin, Greek and Cyrillic letters (precomposed, or
// as combining marks after their letter); other scripts are compared as they
// are written.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/utf8.h"

namespace zelk {

// The folded form of one code point: 0 for a mark that folding drops.
char32_t FoldedCodePoint(char32_t code_point);

// The folded text, in UTF-8; bytes that are not valid UTF-8 are left out.
std::string Folded(std::string_view text);

// Whether `text` holds `search` once both are folded; an empty search is in
// every text.
bool FoldedContains(std::string_view folded_text, std::string_view folded_search);

}  // namespace zelk
