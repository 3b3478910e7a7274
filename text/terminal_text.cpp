// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/terminal_text.h"

#include "text/utf8.h"

namespace zelk {
namespace {

void AppendEscaped(std::string& text, std::string_view bytes) {
  constexpr char kDigits[] = "0123456789abcdef";
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    text += "\\x";
    text.push_back(kDigits[byte >> 4]);
    text.push_back(kDigits[byte & 0x0F]);
  }
}

bool IsControl(char32_t code_point) {
  return code_point < 0x20 || (code_point >= 0x7F && code_point <= 0x9F);
}

}  // namespace

std::string TerminalSafe(std::string_view text) {
  std::string safe;
  safe.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const Utf8Step step = DecodeUtf8At(text, at);
    // A byte that starts no character is escaped alone, so the next one gets
    // its own chance: a cut sequence does not swallow the letter after it.
    const std::size_t length = step.length > 0 ? step.length : 1;
    const std::string_view character = text.substr(at, length);
    if (step.length == 0 || IsControl(step.code_point)) {
      AppendEscaped(safe, character);
    } else {
      safe.append(character);
    }
    at += length;
  }
  return safe;
}

}  // namespace zelk
