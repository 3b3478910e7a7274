// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings that differ between two blocks, named and valued as the main
// window shows them: for the question before a write ("Injec. Time: 1000 ->
// 1200 ms") and for the warning after its read back ("Injec. Time: sent
// 1200 ms, the module holds 1100 ms").

#include <QString>
#include <cstddef>
#include <vector>

#include "settings/settings_block.h"

namespace zelk {

// The setting's caption as the window shows it ("Injec. Time"), by the index
// of settings files (the edit boxes, the idle RPM, the option boxes).
QString SettingCaption(std::size_t setting);

struct ShownDifference {
  QString caption;
  QString first;  // value with its unit, in the window's decimal separator
  QString second;
};

// Every setting (as settings files name them) whose value differs, in the
// window's order.
std::vector<ShownDifference> ShownDifferences(const SettingsBlock& first,
                                              const SettingsBlock& second, char separator);

// One line a difference: "Injec. Time: 1000 ms -> 1200 ms".
QString ChangeLines(const std::vector<ShownDifference>& changes);
// One line a difference: "Injec. Time: sent 1200 ms, the module holds 1100 ms".
QString NotTakenLines(const std::vector<ShownDifference>& sent_and_held);

}  // namespace zelk
