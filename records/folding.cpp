// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/folding.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace zelk {
namespace {

// Latin-1 letters U+00C0..U+00FF: the base letter, '*' for a letter without
// one (Æ, Ð, Þ, ß: only the case folds), '!' for × and ÷.
constexpr std::string_view kLatin1Bases =
    "aaaaaa*ceeeeiiii*nooooo!ouuuuy**"
    "aaaaaa*ceeeeiiii*nooooo!ouuuuy*y";
// Latin Extended-A U+0100..U+017F, the same way.
constexpr std::string_view kLatinExtendedABases =
    "aaaaaaccccccccddddeeeeeeeeeegggggggghhhhiiiiiiiiii**jjkk*lllllll"
    "lllnnnnnnn**oooooo**rrrrrrssssssssttttttuuuuuuuuuuuuwwyyyzzzzzzs";
static_assert(kLatin1Bases.size() == 0x40);
static_assert(kLatinExtendedABases.size() == 0x80);

// The lower case of the letters whose case this program folds.
char32_t Lowered(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 0x20;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if (c == 0x130) return 'i';
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c | 1;
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c + 1 : c;
  if (c == 0x178) return 0xFF;
  if (c == 0x386) return 0x3AC;
  if (c >= 0x388 && c <= 0x38A) return c + 0x25;
  if (c == 0x38C) return 0x3CC;
  if (c == 0x38E || c == 0x38F) return c + 0x3F;
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF)) return c | 1;
  if (c >= 0x1E00 && c <= 0x1E95) return c | 1;
  return c;
}

struct Unaccented {
  char32_t from, to;
};
// Lower-case Greek and Cyrillic letters with an accent, and their base.
constexpr std::array<Unaccented, 14> kUnaccented{{{0x390, 0x3B9},
                                                  {0x3AC, 0x3B1},
                                                  {0x3AD, 0x3B5},
                                                  {0x3AE, 0x3B7},
                                                  {0x3AF, 0x3B9},
                                                  {0x3B0, 0x3C5},
                                                  {0x3C2, 0x3C3},  // final sigma
                                                  {0x3CA, 0x3B9},
                                                  {0x3CB, 0x3C5},
                                                  {0x3CC, 0x3BF},
                                                  {0x3CD, 0x3C5},
                                                  {0x3CE, 0x3C9},
                                                  {0x450, 0x435},
                                                  {0x451, 0x435}}};

}  // namespace

char32_t FoldedCodePoint(char32_t code_point) {
  if (code_point >= 0x300 && code_point <= 0x36F) return 0;  // a combining accent
  const char32_t lower = Lowered(code_point);
  const auto base = [lower](std::string_view bases, char32_t first) -> char32_t {
    const char b = bases[lower - first];
    return b == '*' || b == '!' ? lower : static_cast<char32_t>(b);
  };
  if (lower >= 0xC0 && lower <= 0xFF) return base(kLatin1Bases, 0xC0);
  if (lower >= 0x100 && lower <= 0x17F) return base(kLatinExtendedABases, 0x100);
  const auto* found = std::find_if(kUnaccented.begin(), kUnaccented.end(),
                                   [lower](const Unaccented& u) { return u.from == lower; });
  return found != kUnaccented.end() ? found->to : lower;
}

std::string Folded(std::string_view text) {
  std::string folded;
  folded.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const Utf8Step one = DecodeUtf8At(text, at);
    if (one.length == 0) {
      ++at;
      continue;
    }
    at += one.length;
    if (const char32_t c = FoldedCodePoint(one.code_point); c != 0) AppendUtf8(folded, c);
  }
  return folded;
}

bool FoldedContains(std::string_view folded_text, std::string_view folded_search) {
  return folded_text.find(folded_search) != std::string_view::npos;
}

}  // namespace zelk
