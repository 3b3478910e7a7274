// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_file/file_io.h"

#include <fstream>
#include <system_error>

#include "text/fill.h"
#include "text/translatable.h"

namespace zelk {

FileRead ReadSmallFile(const std::filesystem::path& path, std::size_t max_size) {
  const std::string shown = path.string();
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    return {false, {}, Fill(QT_TRANSLATE_NOOP("SettingsFile", "%1: is a folder"), {shown})};
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return {false, {}, Fill(QT_TRANSLATE_NOOP("SettingsFile", "%1: cannot be opened"), {shown})};
  }
  FileRead read;
  char chunk[4096];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    const auto got = static_cast<std::size_t>(in.gcount());
    if (read.contents.size() + got > max_size) {
      return {false,
              {},
              Fill(QT_TRANSLATE_NOOP("SettingsFile", "%1: larger than %2 bytes"),
                   {shown, std::to_string(max_size)})};
    }
    read.contents.append(chunk, got);
  }
  if (in.bad()) {
    return {false, {}, Fill(QT_TRANSLATE_NOOP("SettingsFile", "%1: read error"), {shown})};
  }
  read.ok = true;
  return read;
}

}  // namespace zelk
