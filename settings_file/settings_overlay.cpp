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

// From the tables: the bytes of every edit row and of the idle period word,
// and the masks of the option boxes.
constexpr std::array<std::uint8_t, kSettingsBlockSize> MakeSettingBits() {
  std::array<std::uint8_t, kSettingsBlockSize> bits{};
  for (const SettingRow& row : kSettingRows) {
    for (std::size_t byte = 0; byte < row.width; ++byte) bits[row.offset + byte] = 0xFF;
  }
  bits[kIdlePeriodOffset] = 0xFF;
  bits[kIdlePeriodOffset + 1] = 0xFF;
  for (const OptionBox& option : kOptionBoxes) {
    bits[kFlagsOffset] = static_cast<std::uint8_t>(bits[kFlagsOffset] | option.mask);
  }
  return bits;
}

constexpr std::array<std::uint8_t, kSettingsBlockSize> kSettingBits = MakeSettingBits();
static_assert(kSettingBits[kMixtureOffset] == 0, "the mixture byte is the module's own");

std::string Named(std::size_t setting, std::string_view problem) {
  //: A setting's name in the file and what is wrong with its value.
  return Fill(QT_TRANSLATE_NOOP("SettingsFile", "%1: %2"), {FileSettingName(setting), problem});
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
  const double limite_corr = settings.edits[kLimiteCorr].value_or(module_limite_corr);
  for (std::size_t index = 0; index < kSettingCount; ++index) {
    if (!settings.edits[index]) continue;
    const SettingRow& row = kSettingRows[index];
    const double value = *settings.edits[index];
    if (row.entry == NumberKind::integer && !IsWholeInt32(value)) {
      return Named(index, Fill(QT_TRANSLATE_NOOP("SettingsFile", "%1 is not a whole number"),
                               {GeneralText(value, '.')}));
    }
    if (!InSettingRange(row, value, limite_corr)) {
      return Named(index, row.range_message);
    }
  }
  return {};
}

AppliedSettings ApplyFileSettings(const FileSettings& settings, const SettingsBlock& module_block) {
  const double module_limite_corr = SettingValue(kSettingRows[kLimiteCorr], module_block);
  std::string problem = CheckSettingRanges(settings, module_limite_corr);
  if (!problem.empty()) return {std::nullopt, std::move(problem)};

  SettingsBlock block = module_block;
  for (std::size_t index = 0; index < kSettingCount; ++index) {
    if (!settings.edits[index]) continue;
    const EncodeResult encoded =
        EncodeSetting(kSettingRows[index], GeneralText(*settings.edits[index], '.'), '.', block);
    if (!encoded.ok) return {std::nullopt, Named(index, encoded.error)};
  }
  // A start mix at the limit may still land one count above the limit's
  // count when each is encoded alone.
  if (settings.edits[kPorcMistura]) KeepStartMixWithinLimit(block);
  if (settings.idle_rpm) {
    // A file's idle RPM is at calibration factor 1, as a read shows it.
    const EncodeResult encoded =
        EncodeIdleRpm(GeneralText(*settings.idle_rpm, '.'), "1", '.', block);
    if (!encoded.ok) return {std::nullopt, Named(kIdleRpmSetting, encoded.error)};
  }
  for (std::size_t option = 0; option < kOptionCount; ++option) {
    if (!settings.options[option]) continue;
    block[kFlagsOffset] =
        WithFlag(block[kFlagsOffset], kOptionBoxes[option].mask, *settings.options[option]);
  }
  return {block, {}};
}

AppliedSettings ApplySettingsFile(const SettingsFile& file, const SettingsBlock& module_block) {
  if (file.block) return {OverlaySettings(module_block, *file.block), {}};
  return ApplyFileSettings(file.settings, module_block);
}

}  // namespace zelk
