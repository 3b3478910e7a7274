// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The module's version as its version request answers it, and the one text
// it is shown as: in the windows, in settings files and restore points, and
// by zelkctl.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelk {

// The version reply: major and minor, and how many payload bytes came (both,
// after a successful ReadVersion: a shorter reply is a failure).
struct ModuleVersion {
  std::array<std::uint8_t, 2> numbers{};
  std::size_t received = 0;
};

// "2.10": both numbers in decimal; a number the reply did not carry shows as
// "?" ("2.?", "?.?").
std::string ModuleVersionText(const ModuleVersion& version);
// The same, or an empty text when no module answered.
std::string ModuleVersionText(const std::optional<ModuleVersion>& version);

// The major number of a version text ("2.10" -> 2); nothing for an empty or
// unreadable text ("", "?.?", "two").
std::optional<int> MajorVersionOf(std::string_view text);
// A file's settings are laid out for its module's major version: true when
// both majors are known and differ (a file that names no version, or a
// module that gave none, is not another version).
bool OtherMajorVersion(std::string_view file_version, const std::optional<ModuleVersion>& module);

}  // namespace zelk
