// SPDX-License-Identifier: GPL-3.0-or-later
// The atomic write on POSIX: open(O_EXCL) a temporary name, write, fsync,
// then rename(2) over the old file, or link(2), which refuses an existing
// name, when the old file must stay.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "settings/regular_file.h"
#include "settings_file/file_io.h"

namespace zelk {

namespace {

// The file and the system's own words, with nothing of ours to translate.
std::string Reason(const std::string& what, int error) {
  return what + ": " + std::strerror(error);
}

bool WriteAll(int fd, std::string_view contents) {
  while (!contents.empty()) {
    const ssize_t written = ::write(fd, contents.data(), contents.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    contents.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// A name has at most 255 bytes; the temporary one takes the file's name cut
// short enough for its suffix (".999999999.tmp"), so every name that can be
// saved is.
constexpr std::size_t kLongestName = 255;
constexpr std::size_t kSuffixRoom = 14;

// Opens a fresh temporary file beside `path`; -1 with errno on failure.
int OpenTemporary(const std::filesystem::path& path, std::string& name) {
  const std::string stem =
      (path.parent_path() / path.filename().string().substr(0, kLongestName - kSuffixRoom))
          .string();
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = stem + "." + std::to_string(random() % 1000000000u) + ".tmp";
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

FileWrite WriteFileAtomically(const std::filesystem::path& path, std::string_view contents,
                              ExistingFile existing) {
  const std::string shown = path.string();
  // The rename would put a file in the place of a device or a pipe of that
  // name (for root even /dev/null); a symlink is replaced, as any file is.
  // (link(2) refuses every existing name by itself.)
  struct stat in_the_way {};
  if (existing == ExistingFile::replace && ::lstat(shown.c_str(), &in_the_way) == 0 &&
      !S_ISREG(in_the_way.st_mode) && !S_ISLNK(in_the_way.st_mode)) {
    return {false, false,
            NotARegularFileMessage(path, S_ISDIR(in_the_way.st_mode) ? FileRefusal::folder
                                                                     : FileRefusal::not_regular)};
  }
  std::string temporary;
  const int fd = OpenTemporary(path, temporary);
  if (fd < 0) return {false, false, Reason(shown, errno)};
  const bool written = WriteAll(fd, contents) && ::fsync(fd) == 0;
  const int write_error = errno;
  if (::close(fd) != 0 || !written) {
    ::unlink(temporary.c_str());
    return {false, false, Reason(shown, written ? errno : write_error)};
  }
  if (existing == ExistingFile::replace) {
    if (::rename(temporary.c_str(), shown.c_str()) != 0) {
      const int error = errno;
      ::unlink(temporary.c_str());
      return {false, false, Reason(shown, error)};
    }
    return {true, false, {}};
  }
  const int linked = ::link(temporary.c_str(), shown.c_str());
  const int error = errno;
  ::unlink(temporary.c_str());
  if (linked != 0) return {false, error == EEXIST, Reason(shown, error)};
  return {true, false, {}};
}

}  // namespace zelk
