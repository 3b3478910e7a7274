// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_file/file_io.h"

#include <fstream>
#include <system_error>

namespace zelk {

FileRead ReadSmallFile(const std::filesystem::path& path, std::size_t max_size) {
  const std::string shown = path.string();
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return {false, {}, shown + ": is a folder"};
  std::ifstream in(path, std::ios::binary);
  if (!in) return {false, {}, shown + ": cannot be opened"};
  FileRead read;
  char chunk[4096];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    const auto got = static_cast<std::size_t>(in.gcount());
    if (read.contents.size() + got > max_size) {
      return {false, {}, shown + ": larger than " + std::to_string(max_size) + " bytes"};
    }
    read.contents.append(chunk, got);
  }
  if (in.bad()) return {false, {}, shown + ": read error"};
  read.ok = true;
  return read;
}

}  // namespace zelk
