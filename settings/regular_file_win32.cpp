// SPDX-License-Identifier: GPL-3.0-or-later
// Windows: CreateFileW never waits on a pipe (a busy one fails with
// ERROR_PIPE_BUSY); GetFileType on the handle decides, and only a disk file
// (FILE_TYPE_DISK) is kept: not a pipe, a console, NUL or a COM port.
#include <windows.h>

#include <utility>

#include "settings/regular_file.h"

namespace zelk {

FileRefusal RegularFile::Open(const std::filesystem::path& path, FileUse use,
                              std::error_code& error) {
  Close();
  error.clear();
  const std::wstring name = path.wstring();
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return FileRefusal::folder;
  }
  const bool read = use == FileUse::read;
  const HANDLE file =
      CreateFileW(name.c_str(), read ? GENERIC_READ : GENERIC_WRITE,
                  read ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_READ, nullptr,
                  read ? OPEN_EXISTING : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error.assign(static_cast<int>(GetLastError()), std::system_category());
    return FileRefusal::system;
  }
  if (GetFileType(file) != FILE_TYPE_DISK) {
    CloseHandle(file);
    return FileRefusal::not_regular;
  }
  if (!read && !SetEndOfFile(file)) {  // the pointer of a fresh handle is at 0
    error.assign(static_cast<int>(GetLastError()), std::system_category());
    CloseHandle(file);
    return FileRefusal::system;
  }
  handle_ = file;
  return FileRefusal::none;
}

bool RegularFile::is_open() const {
  return handle_ != nullptr;
}

long long RegularFile::Read(char* buffer, std::size_t size) {
  const DWORD chunk = size > (1u << 20) ? (1u << 20) : static_cast<DWORD>(size);
  DWORD got = 0;
  if (!ReadFile(static_cast<HANDLE>(handle_), buffer, chunk, &got, nullptr)) return -1;
  return got;
}

bool RegularFile::WriteAll(const char* data, std::size_t size) {
  while (size > 0) {
    const DWORD chunk = size > (1u << 20) ? (1u << 20) : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(static_cast<HANDLE>(handle_), data, chunk, &written, nullptr) || written == 0)
      return false;
    data += written;
    size -= written;
  }
  return true;
}

bool RegularFile::Close() {
  if (handle_ == nullptr) return true;
  return CloseHandle(static_cast<HANDLE>(std::exchange(handle_, nullptr))) != 0;
}

}  // namespace zelk
