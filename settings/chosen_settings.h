// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A restore of chosen settings only: the technician takes some settings of an
// earlier record and keeps the module's values for the rest.

#include <span>

#include "settings/settings_block.h"
#include "settings/settings_table.h"

namespace zelk {

// `module` with the `chosen` settings as `from` holds them: an edit box's or
// the idle RPM's bytes, an option box's bit. Every other byte is the module's
// (its status bits and the bytes no box shows included). The start mix is
// then held within the correction limit, as every write holds it.
SettingsBlock TakeSettings(const SettingsBlock& module, const SettingsBlock& from,
                           std::span<const SettingIndex> chosen);

}  // namespace zelk
