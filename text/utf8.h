// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// UTF-8, strictly: overlong forms, surrogates, values beyond U+10FFFF and
// cut sequences are no characters.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelk {

struct Utf8Step {
  char32_t code_point = 0;
  std::size_t length = 0;  // bytes taken; 0 when `text` is not valid UTF-8 at `at`
};

// One character of `text` from byte `at` (< text.size()).
Utf8Step DecodeUtf8At(std::string_view text, std::size_t at);

// The code points of a UTF-8 text; empty when the text is not valid UTF-8.
std::optional<std::vector<char32_t>> DecodeUtf8(std::string_view text);

void AppendUtf8(std::string& out, char32_t code_point);

}  // namespace zelk
