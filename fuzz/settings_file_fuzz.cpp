// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file loader, any bytes: a file is either refused with a reason
// or accepted; an accepted file writes back to a file that reads the same,
// and applied to a module it changes no byte of the module's own. Nothing is
// written to disk.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "settings_file/settings_file.h"
#include "settings_file/settings_overlay.h"

namespace {

zelk::SettingsBlock ModuleBlock() {
  zelk::SettingsBlock block{};
  for (std::size_t i = 0; i < block.size(); ++i)
    block[i] = static_cast<std::uint8_t>(0x5A + 29 * i);
  return block;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const zelk::DecodedSettingsFile decoded = zelk::DecodeSettingsFile(text);
  ZELK_FUZZ_CHECK(decoded.file.has_value() == decoded.error.empty());
  if (!decoded.file) return 0;
  const zelk::SettingsFile& file = *decoded.file;

  const zelk::DecodedSettingsFile again = zelk::DecodeSettingsFile(zelk::EncodeSettingsFile(file));
  ZELK_FUZZ_CHECK(again.file.has_value());
  ZELK_FUZZ_CHECK(again.file->block == file.block);
  ZELK_FUZZ_CHECK(again.file->reason == file.reason);
  ZELK_FUZZ_CHECK(again.file->module_version == file.module_version);
  ZELK_FUZZ_CHECK(zelk::TextsOf(again.file->settings) == zelk::TextsOf(file.settings));

  const zelk::SettingsBlock module_block = ModuleBlock();
  const zelk::AppliedSettings applied = zelk::ApplySettingsFile(file, module_block);
  ZELK_FUZZ_CHECK(applied.block.has_value() == applied.error.empty());
  if (file.block) {
    ZELK_FUZZ_CHECK(applied.block.has_value());
    ZELK_FUZZ_CHECK(zelk::SameSettings(*applied.block, *file.block));
  }
  if (applied.block) {
    for (std::size_t offset = 0; offset < module_block.size(); ++offset) {
      const auto own = static_cast<std::uint8_t>(~zelk::SettingBits(offset));
      ZELK_FUZZ_CHECK(((*applied.block)[offset] & own) == (module_block[offset] & own));
    }
  }
  return 0;
}
