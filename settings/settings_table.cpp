// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_table.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "settings/number_text.h"
#include "text/fill.h"

namespace zelk {

namespace {

constexpr bool RowsFitTheBlock() {
  for (const SettingRow& row : kSettingRows) {
    if (row.width != 1 && row.width != 2) return false;
    if (row.offset + row.width > kSettingsBlockSize) return false;
  }
  return true;
}
static_assert(RowsFitTheBlock(), "every setting must lie inside the 25-byte block");

constexpr bool EachOnce(const auto& order, std::size_t steps) {
  for (std::size_t step = 0; step < steps; ++step) {
    if (std::count(order.begin(), order.end(), step) != 1) return false;
  }
  return true;
}
static_assert(EachOnce(kReadOrder, kSettingCount), "a read decodes every setting once");
static_assert(EachOnce(kWriteOrder, kSettingCount + 1), "a write encodes every setting once");

constexpr std::uint32_t kWordMax = 0xFFFF;

// The caption without its trailing blanks, to name the setting in a message.
std::string_view SettingTitle(const SettingRow& row) {
  std::string_view title = row.caption;
  while (!title.empty() && title.back() == ' ') title.remove_suffix(1);
  return title;
}

std::string WordDoesNotFit(const SettingRow& row, std::string_view text, double count) {
  if (!std::isfinite(count)) {
    return Fill(QT_TRANSLATE_NOOP("Settings", "%1 %2 does not fit in the module's 16-bit field"),
                {SettingTitle(row), text});
  }
  const std::string shown = GeneralText(std::round(count), '.');
  if (count > 0) {
    return Fill(QT_TRANSLATE_NOOP(
                    "Settings", "%1 %2 is too high: the module's count would be %3, beyond 65535"),
                {SettingTitle(row), text, shown});
  }
  return Fill(
      QT_TRANSLATE_NOOP("Settings", "%1 %2 is too low: the module's count would be %3, below 0"),
      {SettingTitle(row), text, shown});
}

std::string ByteDoesNotFit(const SettingRow& row, std::string_view text) {
  return Fill(QT_TRANSLATE_NOOP("Settings", "%1 %2 cannot be stored in the module's byte"),
              {SettingTitle(row), text});
}

std::optional<double> ConvertForWrite(const SettingRow& row, std::string_view text, char sep) {
  if (row.write == NumberKind::integer) {
    const auto whole = ParseInteger(text);
    if (!whole) return std::nullopt;
    return static_cast<double>(*whole);
  }
  return ParseDecimal(text, sep);
}

}  // namespace

std::string NotASettingValueMessage(const SettingRow& row, std::string_view text, bool integer) {
  return Fill(QT_TRANSLATE_NOOP("Settings", "%1: %2"),
              {SettingTitle(row), NotAValidNumberMessage(text, integer)});
}

const SettingRow* FindSetting(std::string_view name) {
  const auto it = std::find_if(kSettingRows.begin(), kSettingRows.end(),
                               [name](const SettingRow& row) { return row.name == name; });
  return it == kSettingRows.end() ? nullptr : &*it;
}

std::string DecodeSetting(const SettingRow& row, ConstSettingsBytes block, char decimal_separator) {
  const std::uint32_t raw = row.width == 2 ? ReadWord(block, row.offset) : block[row.offset];
  return ShownText(row.codec, raw, decimal_separator);
}

EncodeResult EncodeSetting(const SettingRow& row, std::string_view text, char decimal_separator,
                           SettingsBytes block) {
  const auto value = ConvertForWrite(row, text, decimal_separator);
  if (!value) {
    return EncodeResult::Failure(
        NotASettingValueMessage(row, text, row.write == NumberKind::integer));
  }
  const double count = StoredCount(row.codec, *value);
  const auto whole = RoundToWhole(count);
  if (row.width == 2) {
    if (!whole || *whole < 0 || *whole > kWordMax) {
      return EncodeResult::Failure(WordDoesNotFit(row, text, count));
    }
    WriteWord(block, row.offset, static_cast<std::uint16_t>(*whole));
    return {};
  }
  if (!whole) return EncodeResult::Failure(ByteDoesNotFit(row, text));
  block[row.offset] = LowByte(*whole);
  return {};
}

}  // namespace zelk
