// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a settings file changes on a module: only the setting bytes (the edit
// boxes and the idle period: offsets 3, 4-5, 12-22 and 24) and the option
// bits 4-7 of the flags byte. The module's own bytes (status bits 0-3, the
// mixture byte its program sets, and the rest) keep the values the module
// holds at that moment.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "settings/settings_block.h"
#include "settings_file/file_settings.h"
#include "settings_file/settings_file.h"

namespace zelk {

// The bits of the byte at `offset` that belong to the settings (0xFF, the
// option bits 0xF0 of the flags byte, or 0 for a byte of the module's own).
std::uint8_t SettingBits(std::size_t offset);

// The module's block with the setting bits of `file_block`.
SettingsBlock OverlaySettings(const SettingsBlock& module_block, const SettingsBlock& file_block);

// True when both blocks hold the same settings (the module's bytes aside).
bool SameSettings(const SettingsBlock& a, const SettingsBlock& b);

// The window's entry rules for settings typed by hand: a whole number where
// the window's box takes one, then the box's range and range message, with
// porc_mistura checked against the resulting limite_corr (the settings' own,
// else `module_limite_corr`). Returns the first problem, naming the setting,
// or an empty text.
std::string CheckSettingRanges(const FileSettings& settings, double module_limite_corr);

struct AppliedSettings {
  std::optional<SettingsBlock> block;  // what the module is to hold
  std::string error;                   // else why nothing may be written
};

// `module_block` with the named settings range-checked and encoded as a
// write encodes them; a porc_mistura encoded above limite_corr is lowered to it.
AppliedSettings ApplyFileSettings(const FileSettings& settings, const SettingsBlock& module_block);

// A file with a block: its setting bits as they are; without one, its
// settings as ApplyFileSettings takes them.
AppliedSettings ApplySettingsFile(const SettingsFile& file, const SettingsBlock& module_block);

}  // namespace zelk
