// SPDX-License-Identifier: GPL-3.0-or-later
// POSIX: open(2) with O_NONBLOCK, so a FIFO without a writer (or a reader)
// answers at once instead of waiting; fstat(2) on the descriptor decides; a
// regular file then goes back to blocking I/O.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "settings/regular_file.h"

namespace zelk {

namespace {

FileRefusal KindOf(mode_t mode) {
  if (S_ISREG(mode)) return FileRefusal::none;
  return S_ISDIR(mode) ? FileRefusal::folder : FileRefusal::not_regular;
}

}  // namespace

FileRefusal RegularFile::Open(const std::filesystem::path& path, FileUse use,
                              std::error_code& error) {
  Close();
  error.clear();
  const int flags = use == FileUse::read ? O_RDONLY : O_WRONLY | O_CREAT;
  const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0644);
  if (fd < 0) {
    const int open_error = errno;
    // A FIFO without a reader refuses a write open (ENXIO), as does a socket
    // any open, a folder one for writing (EISDIR): say what is in the way.
    struct stat in_the_way {};
    if (::stat(path.c_str(), &in_the_way) == 0 && !S_ISREG(in_the_way.st_mode)) {
      return KindOf(in_the_way.st_mode);
    }
    error.assign(open_error, std::generic_category());
    return FileRefusal::system;
  }
  struct stat opened {};
  if (::fstat(fd, &opened) != 0) {
    error.assign(errno, std::generic_category());
    ::close(fd);
    return FileRefusal::system;
  }
  if (const FileRefusal kind = KindOf(opened.st_mode); kind != FileRefusal::none) {
    ::close(fd);
    return kind;
  }
  const int status = ::fcntl(fd, F_GETFL);
  if (status < 0 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0 ||
      (use == FileUse::write && ::ftruncate(fd, 0) != 0)) {
    error.assign(errno, std::generic_category());
    ::close(fd);
    return FileRefusal::system;
  }
  fd_ = fd;
  return FileRefusal::none;
}

bool RegularFile::is_open() const {
  return fd_ >= 0;
}

// Not const: reading moves the file's position, which is this object's state
// even though it lives in the descriptor.
// NOLINTNEXTLINE(readability-make-member-function-const)
long long RegularFile::Read(char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t got = ::read(fd_, buffer, size);
    if (got < 0 && errno == EINTR) continue;
    return got;
  }
}

// NOLINTNEXTLINE(readability-make-member-function-const): writing changes the file
bool RegularFile::WriteAll(const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd_, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

bool RegularFile::Close() {
  if (fd_ < 0) return true;
  return ::close(std::exchange(fd_, -1)) == 0;
}

}  // namespace zelk
