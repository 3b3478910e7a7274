// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Settings changed in a file with no module at hand (zelkctl edit): each
// assignment range-checked as the window checks a typed value, the file's
// own module version and the module's bytes of its block kept.

#include <optional>
#include <string>

#include "settings_file/file_settings.h"
#include "settings_file/settings_file.h"

namespace zelk {

struct EditedSettingsFile {
  std::optional<SettingsFile> file;  // the file with the changes
  std::string error;                 // else why nothing was changed
};

// A file with a block gets the changes encoded into it, as a write encodes
// them (its settings then follow the block); a file without one names the
// changed settings with the values given. porc_mistura is checked against
// the limite_corr the file will hold. `saved_at` becomes the file's time.
EditedSettingsFile EditSettingsFile(const SettingsFile& file, const FileSettings& changes,
                                    std::string saved_at);

}  // namespace zelk
