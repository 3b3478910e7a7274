// SPDX-License-Identifier: GPL-3.0-or-later
#include "programming/mixture.h"

#include <cmath>
#include <cstddef>
#include <string>

#include "settings/number_text.h"

namespace zelk {

namespace {

// The low 8 bits of the whole number a "%.0f" text spells, for any length of
// text (the value is reduced digit by digit, so nothing overflows).
std::uint8_t LowByteOfWholeText(const std::string& text) {
  unsigned residue = 0;
  bool negative = false;
  for (const char c : text) {
    if (c == '-') {
      negative = true;
    } else if (c >= '0' && c <= '9') {
      residue = (residue * 10 + static_cast<unsigned>(c - '0')) % 256;
    }
  }
  if (negative) residue = (256 - residue) % 256;
  return static_cast<std::uint8_t>(residue);
}

}  // namespace

std::uint8_t MixtureByte(int mix_index, double limit) {
  const bool known = mix_index >= 0 && static_cast<std::size_t>(mix_index) < kMixChoices.size();
  const MixChoice& choice = kMixChoices[known ? static_cast<std::size_t>(mix_index) : 0];
  const double correction =
      choice.of_limit == 0.0 ? choice.plus : limit * choice.of_limit + choice.plus;
  const double counts = correction * 64 * 0.01;
  if (!std::isfinite(counts)) return 0;
  return LowByteOfWholeText(FixedText(counts, 0, 0, '.'));
}

}  // namespace zelk
