// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_file/edited_settings_file.h"

#include <utility>

#include "settings_file/settings_overlay.h"

namespace zelk {

EditedSettingsFile EditSettingsFile(const SettingsFile& file, const FileSettings& changes,
                                    std::string saved_at) {
  SettingsFile edited = file;
  edited.saved_at = std::move(saved_at);
  if (file.block) {
    // The block's own limite_corr bounds a porc_mistura given alone.
    AppliedSettings applied = ApplyFileSettings(changes, *file.block);
    if (!applied.block) return {std::nullopt, std::move(applied.error)};
    edited.block = applied.block;
    edited.settings = SettingsOfBlock(*applied.block);
    return {std::move(edited), {}};
  }
  for (std::size_t i = 0; i < changes.values.size(); ++i) {
    if (changes.values[i]) edited.settings.values[i] = changes.values[i];
  }
  // A file without a block names what it changes; the limit it does not name
  // is the module's, which may be anything up to the limit's own maximum.
  std::string problem = CheckSettingRanges(edited.settings, kSettings[kLimiteCorr].max);
  if (!problem.empty()) return {std::nullopt, std::move(problem)};
  return {std::move(edited), {}};
}

}  // namespace zelk
