// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Times as the files keep them: UTC, to the second in a file's contents
// ("2026-12-09T10:15:00Z"), to the millisecond and without colons in a file's
// name ("2026-12-09T10-15-00.123Z"), so names sort by time and are valid on
// Windows.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace zelk {

// "2026-12-09T10:15:00Z".
std::string UtcTimeText(std::chrono::system_clock::time_point time);
// The same for this moment.
std::string UtcNowText();

// The time UtcTimeText gave `text`; none when `text` is not such a time or
// names no day of the calendar.
std::optional<std::chrono::system_clock::time_point> UtcTimeOfText(std::string_view text);

// "2026-12-09T10-15-00.123Z".
std::string UtcFileStem(std::chrono::system_clock::time_point time);

// The time a file stem names, as UtcTimeText gives it; none when `stem` is
// not a file stem.
std::optional<std::string> UtcTimeTextOfStem(std::string_view stem);

// Whether `text` has the shape of `sample`: digits where it has digits, its
// other characters as they are.
bool MatchesSample(std::string_view text, std::string_view sample);

}  // namespace zelk
