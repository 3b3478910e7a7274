// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_table.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "settings/number_text.h"
#include "settings/option_flags.h"
#include "settings/settings_values.h"
#include "text/fill.h"

namespace zelk {

namespace {

// The table's shape, which the loops over it rely on.
constexpr bool RowsAreWellFormed() {
  for (std::size_t index = 0; index < kSettings.size(); ++index) {
    const SettingRow& row = kSettings[index];
    if (row.id != index) return false;
    if (row.width != 1 && row.width != 2) return false;
    if (row.offset + row.width > kSettingsBlockSize) return false;
    const bool edit = index < kEditCount;
    const bool option = index >= kSettings.size() - kOptionCount;
    if ((row.kind == SettingKind::edit) != edit) return false;
    if ((row.kind == SettingKind::option) != option) return false;
    if (option && (row.offset != kFlagsOffset || row.width != 1 || row.mask == 0)) return false;
    if (!option && row.mask != 0) return false;
    if (row.needs && kSettings[*row.needs].kind != SettingKind::option) return false;
  }
  return kSettings[kRpmAdj].kind == SettingKind::idle_rpm &&
         kSettings[kRpmAdj].offset == kIdlePeriodOffset;
}
static_assert(RowsAreWellFormed(),
              "rows in identity order inside the 25-byte block: the edit boxes, the idle RPM, "
              "the option boxes");

constexpr bool EachOnce(const auto& order) {
  for (std::size_t step = 0; step < kSettingRowCount; ++step) {
    if (std::count(order.begin(), order.end(), step) != 1) return false;
  }
  return true;
}
static_assert(EachOnce(kReadOrder), "a read shows every setting once");
static_assert(EachOnce(kWriteOrder), "a write encodes every setting once");

constexpr std::uint32_t kWordMax = 0xFFFF;

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

// The value a read shows for `count` stored in the row's field.
double ShownValueOf(const SettingRow& row, std::int64_t count) {
  SettingsBlock block{};
  if (row.width == 2) {
    WriteWord(block, row.offset, static_cast<std::uint16_t>(count));
  } else {
    block[row.offset] = static_cast<std::uint8_t>(count);
  }
  return SettingValue(row, block);
}

bool ShowsInRange(const SettingRow& row, std::int64_t count) {
  const double shown = ShownValueOf(row, count);
  return row.min <= shown && shown <= row.max;
}

// The rounded count can show outside the range its value passed (10 % on the
// percent-64 scale is 6.4 counts, and 6 shows 9.375): the technician would be
// refused his own read back. So the count stored is the nearest one, on either
// side of the exact count, that shows inside the range. The temperature codec
// runs backwards (a thermistor byte falls as the engine warms), so both
// directions are searched. Empty when no count of the field shows inside.
std::optional<std::int64_t> NearestCountInRange(const SettingRow& row, double count,
                                                std::int64_t rounded) {
  const std::int64_t highest = row.width == 2 ? kWordMax : 0xFF;
  rounded = std::clamp<std::int64_t>(rounded, 0, highest);
  for (std::int64_t distance = 0; distance <= highest; ++distance) {
    std::int64_t below = rounded - distance;
    std::int64_t above = rounded + distance;
    // The nearer of the two to the exact count goes first.
    if (std::abs(static_cast<double>(above) - count) < std::abs(static_cast<double>(below) - count))
      std::swap(below, above);
    for (const std::int64_t candidate : {below, above}) {
      if (candidate >= 0 && candidate <= highest && ShowsInRange(row, candidate)) return candidate;
    }
    if (below < 0 && above > highest) break;
  }
  return std::nullopt;
}

}  // namespace

std::string_view SettingTitle(const SettingRow& row) {
  std::string_view title = row.caption;
  while (!title.empty() && title.back() == ' ') title.remove_suffix(1);
  return title;
}

std::string NotASettingValueMessage(const SettingRow& row, std::string_view text, bool integer) {
  return Fill(QT_TRANSLATE_NOOP("Settings", "%1: %2"),
              {SettingTitle(row), NotAValidNumberMessage(text, integer)});
}

const SettingRow* FindSetting(std::string_view name) {
  const auto it = std::find_if(kSettings.begin(), kSettings.end(),
                               [name](const SettingRow& row) { return row.name == name; });
  return it == kSettings.end() ? nullptr : &*it;
}

std::string_view UnitCaption(const SettingRow& row, bool wide_band) {
  if (row.id == kValorLambda) return LambdaUnitCaption(wide_band);
  return row.unit;
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
  auto whole = RoundToWhole(count);
  // Out of range is the entry check's business; such a value is stored as
  // it always was.
  if (whole && row.min <= *value && *value <= row.max) {
    whole = NearestCountInRange(row, count, *whole).value_or(*whole);
  }
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

bool KeepStartMixWithinLimit(SettingsBytes block) {
  const SettingRow& start_mix = kSettings[kPorcMistura];
  const SettingRow& limit = kSettings[kLimiteCorr];
  static_assert(kSettings[kPorcMistura].codec == kSettings[kLimiteCorr].codec &&
                kSettings[kPorcMistura].width == 1 && kSettings[kLimiteCorr].width == 1);
  if (block[start_mix.offset] <= block[limit.offset]) return false;
  block[start_mix.offset] = block[limit.offset];
  return true;
}

}  // namespace zelk
