// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Files the technician names (settings files, restore points, live logs) are
// opened only when they are regular files on a disk. Anything else would hang
// or mislead: a FIFO blocks the open until some other program opens its other
// end, a device reads forever (/dev/zero) or swallows what is written
// (/dev/null), a folder has no contents. The open itself never waits: it is
// made without blocking, the kind of file is checked on the open handle (so
// nothing can be swapped in between), and only a regular file is kept.

#include <array>
#include <cstddef>
#include <filesystem>
#include <streambuf>
#include <string>
#include <system_error>

#include "text/path_text.h"

namespace zelk {

enum class FileUse {
  read,
  write,  // made when missing, emptied when present
};

enum class FileRefusal {
  none,
  folder,
  not_regular,  // a FIFO, a device, a socket
  system,       // the system refused the open: see `error`
};

// "<path>: is a folder" or "<path>: is not a regular file".
std::string NotARegularFileMessage(const std::filesystem::path& path, FileRefusal refusal);

class RegularFile {
 public:
  RegularFile() = default;
  ~RegularFile();
  RegularFile(RegularFile&& other) noexcept;
  RegularFile& operator=(RegularFile&& other) noexcept;
  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;

  // FileRefusal::none once open; else the file stays closed, and for
  // FileRefusal::system `error` holds the system's reason.
  FileRefusal Open(const std::filesystem::path& path, FileUse use, std::error_code& error);

  bool is_open() const;
  // Bytes read, 0 at the end, -1 on an error.
  long long Read(char* buffer, std::size_t size);
  bool WriteAll(const char* data, std::size_t size);
  // False when the system reports a failure on closing.
  bool Close();

 private:
#ifdef _WIN32
  void* handle_ = nullptr;  // a HANDLE; nullptr when closed
#else
  int fd_ = -1;
#endif
};

// A stream buffer that writes to a RegularFile; a sync writes out what is
// buffered (the stream's flush), and a refused write makes the stream bad.
class RegularFileBuf : public std::streambuf {
 public:
  explicit RegularFileBuf(RegularFile file);
  ~RegularFileBuf() override;

  // Writes out what is buffered and closes the file; false when anything
  // written was lost.
  bool Close();

 protected:
  int_type overflow(int_type ch) override;
  int sync() override;

 private:
  bool Drain();

  RegularFile file_;
  std::array<char, 4096> buffer_{};
  bool failed_ = false;
};

}  // namespace zelk
