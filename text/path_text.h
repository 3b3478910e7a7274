// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File names as the program's texts carry them: UTF-8 on every system. On
// Windows a path is UTF-16 inside; building one from a plain std::string
// would read the bytes in a narrow code page and miss every name outside it
// ("Zoë-Ωμέγα-日本.zelk"), so names cross over here, through char8_t.

#include <filesystem>
#include <string>
#include <string_view>

namespace zelk {

// The path a UTF-8 name stands for.
std::filesystem::path PathFromUtf8(std::string_view utf8);

// The path as UTF-8 on every system, for a message or a file.
std::string Utf8PathText(const std::filesystem::path& path);

#ifdef _WIN32
// Windows' own wide texts (the command line, the system's messages) as UTF-8.
std::string Utf8FromWide(std::wstring_view wide);
#endif

}  // namespace zelk
