// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_file/settings_overlay.h"

#include <array>
#include <cmath>

#include "monitor/idle_period.h"
#include "settings/number_text.h"
#include "settings/option_flags.h"
#include "settings/settings_values.h"
#include "text/fill.h"
#include "text/translatable.h"

namespace zelk {

namespace {

// From the settings table: the bytes of every edit box and of the idle period
// word, and the option boxes' bits of the flags byte.
constexpr std::array<std::uint8_t, kSettingsBlockSize> MakeSettingBits() {
  std::array<std::uint8_t, kSettingsBlockSize> bits{};
  for (const SettingRow& row : kSettings) {
    if (row.kind == SettingKind::option) {
      bits[row.offset] = static_cast<std::uint8_t>(bits[row.offset] | row.mask);
      continue;
    }
    for (std::size_t byte = 0; byte < row.width; ++byte) bits[row.offset + byte] = 0xFF;
  }
  return bits;
}

constexpr std::array<std::uint8_t, kSettingsBlockSize> kSettingBits = MakeSettingBits();
static_assert(kSettingBits[kMixtureOffset] == 0, "the mixture byte is the module's own");

std::string Named(const SettingRow& setting, std::string_view problem) {
  //: A setting's name in the file and what is wrong with its value.
  return Fill(QT_TRANSLATE_NOOP("SettingsFile", "%1: %2"), {setting.name, problem});
}

bool IsWholeInt32(double value) {
  return std::trunc(value) == value && value >= -2147483648.0 && value <= 2147483647.0;
}

}  // namespace

std::uint8_t SettingBits(std::size_t offset) {
  return offset < kSettingsBlockSize ? kSettingBits[offset] : 0;
}

SettingsBlock OverlaySettings(const SettingsBlock& module_block, const SettingsBlock& file_block) {
  SettingsBlock result = module_block;
  for (std::size_t offset = 0; offset < kSettingsBlockSize; ++offset) {
    const std::uint8_t bits = kSettingBits[offset];
    result[offset] =
        static_cast<std::uint8_t>((module_block[offset] & ~bits) | (file_block[offset] & bits));
  }
  return result;
}

bool SameSettings(const SettingsBlock& a, const SettingsBlock& b) {
  for (std::size_t offset = 0; offset < kSettingsBlockSize; ++offset) {
    if (((a[offset] ^ b[offset]) & kSettingBits[offset]) != 0) return false;
  }
  return true;
}

std::string CheckSettingRanges(const FileSettings& settings, double module_limite_corr) {
  const double limite_corr = settings.values[kLimiteCorr].value_or(module_limite_corr);
  for (const SettingRow& row : EditRows()) {
    if (!settings.values[row.id]) continue;
    const double value = *settings.values[row.id];
    if (row.entry == NumberKind::integer && !IsWholeInt32(value)) {
      return Named(row, Fill(QT_TRANSLATE_NOOP("SettingsFile", "%1 is not a whole number"),
                             {GeneralText(value, '.')}));
    }
    if (!InSettingRange(row, value, limite_corr)) {
      return Named(row, row.range_message);
    }
  }
  return {};
}

AppliedSettings ApplyFileSettings(const FileSettings& settings, const SettingsBlock& module_block) {
  const double module_limite_corr = SettingValue(kSettings[kLimiteCorr], module_block);
  std::string problem = CheckSettingRanges(settings, module_limite_corr);
  if (!problem.empty()) return {std::nullopt, std::move(problem)};

  SettingsBlock block = module_block;
  for (const SettingRow& row : kSettings) {
    const std::optional<double>& value = settings.values[row.id];
    if (!value) continue;
    EncodeResult encoded;
    switch (row.kind) {
      case SettingKind::edit:
        encoded = EncodeSetting(row, GeneralText(*value, '.'), '.', block);
        break;
      case SettingKind::idle_rpm:
        // A file's idle RPM is at calibration factor 1, as a read shows it.
        encoded = EncodeIdleRpm(GeneralText(*value, '.'), "1", '.', block);
        break;
      case SettingKind::option:
        block[row.offset] = WithFlag(block[row.offset], row.mask, *value != 0);
        break;
    }
    if (!encoded.ok) return {std::nullopt, Named(row, encoded.error)};
  }
  // A start mix at the limit may still land one count above the limit's
  // count when each is encoded alone.
  if (settings.values[kPorcMistura]) KeepStartMixWithinLimit(block);
  return {block, {}};
}

AppliedSettings ApplySettingsFile(const SettingsFile& file, const SettingsBlock& module_block) {
  if (file.block) return {OverlaySettings(module_block, *file.block), {}};
  return ApplyFileSettings(file.settings, module_block);
}

}  // namespace zelk
