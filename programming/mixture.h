// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mixture byte the mix program writes alone to module address 3 (offset 2
// of the settings block): the correction the module starts from for the
// ethanol share the technician picks, on the percent-64 scale.

#include <array>
#include <cstdint>
#include <string_view>

namespace zelk {

// One item of the "Ethanol Porc. " group. Its correction x in % is
// limit * of_limit + plus, with the correction limit L from limite_corr.
struct MixChoice {
  std::string_view item;
  double of_limit;
  double plus;
};

// 0 % starts from 1 % whatever the limit (never 0); 100 % stays one point
// under the limit.
inline constexpr std::array<MixChoice, 5> kMixChoices{{
    {"0 %", 0.0, 1.0},
    {"25 %", 0.25, 0.0},
    {"50 %", 0.5, 0.0},
    {"75 %", 0.75, 0.0},
    {"100 %", 1.0, -1.0},
}};

// x * 64 * 0.01 written as "%.0f" (an exact tie goes to the even count) and
// read back as a whole number, stored as its low 8 bits. Over the limits the
// entry check allows (10 to 50) the byte stays between 1 and 31. An index
// outside 0..4 (no item selected) counts as 0 %; a limit whose product is not
// finite gives 0.
std::uint8_t MixtureByte(int mix_index, double limit);

}  // namespace zelk
