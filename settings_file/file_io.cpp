// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_file/file_io.h"

#include "settings/regular_file.h"
#include "text/fill.h"
#include "text/path_text.h"
#include "text/translatable.h"

namespace zelk {

FileRead ReadSmallFile(const std::filesystem::path& path, std::size_t max_size) {
  const std::string shown = Utf8PathText(path);
  RegularFile file;
  std::error_code error;
  const FileRefusal refusal = file.Open(path, FileUse::read, error);
  if (refusal == FileRefusal::system) {
    return {false, {}, Fill(QT_TRANSLATE_NOOP("SettingsFile", "%1: cannot be opened"), {shown})};
  }
  if (refusal != FileRefusal::none) return {false, {}, NotARegularFileMessage(path, refusal)};
  FileRead read;
  char chunk[4096];
  for (;;) {
    const long long got = file.Read(chunk, sizeof chunk);
    if (got < 0) {
      return {false, {}, Fill(QT_TRANSLATE_NOOP("SettingsFile", "%1: read error"), {shown})};
    }
    if (got == 0) break;
    if (read.contents.size() + static_cast<std::size_t>(got) > max_size) {
      return {false,
              {},
              Fill(QT_TRANSLATE_NOOP("SettingsFile", "%1: larger than %2 bytes"),
                   {shown, std::to_string(max_size)})};
    }
    read.contents.append(chunk, static_cast<std::size_t>(got));
  }
  read.ok = true;
  return read;
}

}  // namespace zelk
