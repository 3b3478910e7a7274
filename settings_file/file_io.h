// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Files that must never be left half-written: the contents go to a temporary
// file in the same folder, are flushed to the disk, and the temporary file is
// then renamed to its name, so a reader sees the old file or the new one.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace zelk {

enum class ExistingFile {
  replace,  // the new file takes the old one's place
  keep,     // a file of that name stays; the write reports `exists`
};

struct FileWrite {
  bool ok = false;
  bool exists = false;  // refused under ExistingFile::keep
  std::string error;    // the system's reason, naming the file
};

FileWrite WriteFileAtomically(const std::filesystem::path& path, std::string_view contents,
                              ExistingFile existing = ExistingFile::replace);

// Settings files are small; anything larger is refused unread.
inline constexpr std::size_t kMaxSettingsFileSize = 1 << 20;

struct FileRead {
  bool ok = false;
  std::string contents;
  std::string error;  // naming the file
};

// Only a regular file is read: a folder, a FIFO, a device or a socket is
// refused by name, and the open never waits on one.
FileRead ReadSmallFile(const std::filesystem::path& path,
                       std::size_t max_size = kMaxSettingsFileSize);

}  // namespace zelk
