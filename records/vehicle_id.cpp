// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/vehicle_id.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

#include "records/folding.h"

namespace zelk {
namespace {

struct Range {
  char32_t first, last;
};

// Letters of the scripts a workshop meets on plates and names: Latin with
// its accents, Greek, Cyrillic, Armenian, Hebrew, Arabic, Devanagari, Thai,
// Georgian, Japanese kana, the CJK ideographs and Hangul.
constexpr std::array<Range, 27> kLetters{{
    {'A', 'Z'},       {'a', 'z'},       {0xC0, 0xD6},     {0xD8, 0xF6},     {0xF8, 0x24F},
    {0x386, 0x386},   {0x388, 0x38A},   {0x38C, 0x38C},   {0x38E, 0x3A1},   {0x3A3, 0x3FF},
    {0x400, 0x481},   {0x48A, 0x52F},   {0x531, 0x556},   {0x561, 0x587},   {0x5D0, 0x5EA},
    {0x620, 0x64A},   {0x671, 0x6D3},   {0x904, 0x939},   {0xE01, 0xE30},   {0x10A0, 0x10FF},
    {0x1E00, 0x1EFF}, {0x1F00, 0x1FFF}, {0x3041, 0x3096}, {0x30A1, 0x30FA}, {0x4E00, 0x9FFF},
    {0xAC00, 0xD7A3}, {0x0300, 0x036F},  // combining accents
}};

bool IsCombiningAccent(char32_t c) {
  return c >= 0x300 && c <= 0x36F;
}

bool IsLetter(char32_t c) {
  return std::any_of(kLetters.begin(), kLetters.end(),
                     [c](const Range& r) { return c >= r.first && c <= r.last; });
}

bool AllowedCharacter(char32_t c) {
  return IsLetter(c) || (c >= '0' && c <= '9') || c == ' ' || c == '-' || c == '.';
}

// 64-bit FNV-1a: small, stable across platforms and versions of the program.
std::uint64_t Fnv1a(std::string_view bytes) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char b : bytes) {
    hash ^= static_cast<unsigned char>(b);
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

}  // namespace

VehicleIdCheck CheckVehicleId(std::string_view typed) {
  const std::size_t first = typed.find_first_not_of(' ');
  const std::size_t last = typed.find_last_not_of(' ');
  VehicleIdCheck check;
  if (first == std::string_view::npos) return check;
  check.id = std::string(typed.substr(first, last - first + 1));
  const std::optional<std::vector<char32_t>> code_points = DecodeUtf8(check.id);
  if (!code_points || code_points->size() > kLongestVehicleId) return check;
  if (check.id == "." || check.id == "..") return check;
  // An accent stands only on a letter.
  for (std::size_t i = 0; i < code_points->size(); ++i) {
    const char32_t c = (*code_points)[i];
    if (!AllowedCharacter(c)) return check;
    if (IsCombiningAccent(c) && (i == 0 || !IsLetter((*code_points)[i - 1]))) return check;
  }
  check.ok = true;
  return check;
}

std::string VehicleKey(std::string_view id) {
  return Folded(id);
}

std::string VehicleFolderName(std::string_view id) {
  const std::string key = VehicleKey(id);
  std::string name;
  for (const char c : key) {
    if (name.size() == kLongestVehicleId) break;
    if ((static_cast<unsigned char>(c) & 0xC0) == 0x80) continue;  // one '_' a character
    const bool plain = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    name.push_back(plain ? c : '_');
  }
  char hash[24];
  (void)std::snprintf(hash, sizeof hash, "-%016llx", static_cast<unsigned long long>(Fnv1a(key)));
  name.append(hash);
  return name;
}

}  // namespace zelk
