// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings file (.zelk): a module's settings outside the module, as JSON.
//
//   { "format": "zelk-settings", "format_version": 1, "module_version": "2.10",
//     "saved_at": "2026-12-09T10:15:00Z", "reason": "backup",
//     "block": "<25 bytes as 50 hex digits>",
//     "settings": { "tempo_partida": 1230, ..., "rpm_adj": 750, "heat_en": true, ... } }
//
// The numbers under "settings" are the values the main window shows after a
// read of the block; a file written by hand may leave out "block" and name
// only the settings it changes.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "settings/settings_block.h"
#include "settings_file/file_settings.h"

namespace zelk {

inline constexpr std::string_view kSettingsFileFormat = "zelk-settings";
inline constexpr int kSettingsFileVersion = 1;
inline constexpr std::string_view kSettingsFileExtension = ".zelk";

// Why a settings file was written; `read` is a vehicle's snapshot of the
// settings as a Read found them, `prepared` settings saved with no module
// read (at the desk, before the car arrives), `before_commissioning` the
// module's settings as a commissioning found them, before it changed any.
enum class SaveReason {
  backup,
  save,
  before_write,
  before_restore,
  before_set,
  read,
  before_program,
  prepared,
  before_prepared,
  before_commissioning
};

// The name a file stores ("before-write").
std::string_view ReasonName(SaveReason reason);
// The reason in words ("before a write"), for the windows to translate.
std::string_view ReasonWords(SaveReason reason);
std::optional<SaveReason> ReasonFromName(std::string_view name);

struct SettingsFile {
  std::string module_version;  // "2.10"; empty when the file does not say
  std::string saved_at;        // UTC, "2026-12-09T10:15:00Z"; empty when the file does not say
  std::optional<SaveReason> reason;
  std::optional<SettingsBlock> block;  // the bytes as they came from a module
  FileSettings settings;
};

// A complete file of `block`: the block and all its settings.
SettingsFile MakeSettingsFile(const SettingsBlock& block, std::string module_version,
                              std::string saved_at, SaveReason reason);

// Every setting the file gives, as texts: all of them with a block, else
// those it names.
SettingTexts TextsOfFile(const SettingsFile& file);

// The JSON text, ending in a newline.
std::string EncodeSettingsFile(const SettingsFile& file);

struct DecodedSettingsFile {
  std::optional<SettingsFile> file;  // set when the file was accepted
  std::string error;                 // else why it was refused
};

// Reads a settings file. Refused, naming the problem: not JSON, another
// format, a newer format version, a block that is not 50 hex digits, an
// unknown setting, a wrong type, a setting that disagrees with the block, and
// in a file without a block a value out of its range (porc_mistura against
// the file's own limite_corr here; against the module's in ApplySettingsFile).
// Unknown top-level keys are ignored.
DecodedSettingsFile DecodeSettingsFile(std::string_view text);

}  // namespace zelk
