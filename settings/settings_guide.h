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

// The guide's system-specific sections: a line of its own opens one, and the
// end marker closes it. Each opens with its own heading ("### On Linux").
inline constexpr std::string_view kOnlyOnLinuxMarker = "<!-- only on linux -->";
inline constexpr std::string_view kOnlyOnWindowsMarker = "<!-- only on windows -->";
inline constexpr std::string_view kEndOnlyMarker = "<!-- end only -->";

// The system whose sections the reader gets.
enum class GuideSystem { linux_pc, windows_pc };

#ifdef _WIN32
inline constexpr GuideSystem kThisGuideSystem = GuideSystem::windows_pc;
#else
inline constexpr GuideSystem kThisGuideSystem = GuideSystem::linux_pc;
#endif

// `guide` with the sections of `system` kept and the other system's left
// out; the markers go. A section left open runs to the end of the text.
std::string GuideForSystem(std::string_view guide, GuideSystem system);

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
