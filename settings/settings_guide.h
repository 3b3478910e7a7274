// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The user guide's tables of the settings and option boxes, made from the
// tables the main window uses, so the guide always says what the window does.

#include <string>
#include <string_view>

namespace zelk {

// Where the guide's text takes each table: a line of its own.
inline constexpr std::string_view kSettingsTableMarker = "<!-- settings table -->";
inline constexpr std::string_view kOptionsTableMarker = "<!-- options table -->";

// One Markdown row per edit box, in the window's order: caption, unit, range,
// default and the box's hint, with the option box that enables it.
std::string SettingsGuideTable();

// One Markdown row per option check box: caption and hint.
std::string OptionsGuideTable();

// `guide` with each marker replaced by its table.
std::string WithGuideTables(std::string_view guide);

}  // namespace zelk
