// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A settings block that came from a file (or from anywhere but the module's
// own reply) may hold values no entry box would ever accept: a hand-edited
// block, another program's, a module's garbage saved as a backup. Before such
// a block is written, every setting it holds is checked against the range the
// window's entry check enforces.

#include <string>
#include <vector>

#include "settings/settings_block.h"

namespace zelk {

// One message for each setting of `block` whose shown value lies outside its
// entry range, in the order of a settings file: the eleven edit settings
// (porc_mistura against the block's own limite_corr), then the idle RPM
// against the step buttons' limits (at calibration factor 1, as a read shows
// it). Each names the setting by caption and file name, its value and its
// range: "Adjust Time (tempo_ajuste) is 0, outside its range 10 to 50".
// Empty when every setting is inside its range.
std::vector<std::string> SettingsOutsideTheirRanges(ConstSettingsBytes block);

}  // namespace zelk
