// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The user guide's tables of the settings and option boxes, made from the
// tables the main window uses, so the guide always says what the window does.

#include <functional>
#include <string>
#include <string_view>

namespace zelk {

// Where the guide's text takes each table: a line of its own.
inline constexpr std::string_view kSettingsTableMarker = "<!-- settings table -->";
inline constexpr std::string_view kOptionsTableMarker = "<!-- options table -->";
inline constexpr std::string_view kNamesTableMarker = "<!-- names table -->";

// The tables' English texts in the reader's language: the windows' texts of
// the settings under their rows' context (as the windows look them up), the
// tables' own words under "Guide". UTF-8 out. None: the English as it stands.
using GuideTranslate =
    std::function<std::string(std::string_view context, std::string_view english)>;

// One Markdown row per edit box, in the window's order: caption, unit, range,
// default and the box's hint, with the option box that enables it.
std::string SettingsGuideTable(const GuideTranslate& translate = {});

// One Markdown row per option check box: caption and hint.
std::string OptionsGuideTable(const GuideTranslate& translate = {});

// One Markdown row per setting of the window, edit boxes, idle RPM and option
// boxes: its caption beside the name settings files and zelkctl give it.
std::string NamesGuideTable(const GuideTranslate& translate = {});

// `guide` with each marker replaced by its table.
std::string WithGuideTables(std::string_view guide, const GuideTranslate& translate = {});

}  // namespace zelk
