// SPDX-License-Identifier: GPL-3.0-or-later
// The atomic write on Windows: CreateFileW(CREATE_NEW) a temporary name,
// write, FlushFileBuffers, then MoveFileExW, with MOVEFILE_REPLACE_EXISTING
// when the new file takes the old one's place.
#include <windows.h>

#include <random>

#include "settings_file/file_io.h"
#include "text/fill.h"
#include "text/path_text.h"
#include "text/translatable.h"

namespace zelk {

namespace {

// The file and the system's own words, in UTF-8 like every other text (the
// narrow form would be in the code page); only the fallback for an error the
// system cannot name is ours.
std::string Reason(const std::string& what, DWORD error) {
  wchar_t* text = nullptr;
  const DWORD size = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string reason = size > 0 && text != nullptr ? Utf8FromWide({text, size}) : std::string();
  if (text != nullptr) LocalFree(text);
  if (reason.empty()) {
    reason = Fill(QT_TRANSLATE_NOOP("SettingsFile", "system error %1"), {std::to_string(error)});
  }
  while (!reason.empty() &&
         (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.'))
    reason.pop_back();
  return what + ": " + reason;
}

bool WriteAll(HANDLE file, std::string_view contents) {
  while (!contents.empty()) {
    const DWORD chunk = contents.size() > 1u << 20 ? 1u << 20 : static_cast<DWORD>(contents.size());
    DWORD written = 0;
    if (!WriteFile(file, contents.data(), chunk, &written, nullptr) || written == 0) return false;
    contents.remove_prefix(written);
  }
  return true;
}

HANDLE OpenTemporary(const std::filesystem::path& path, std::wstring& name) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = path.wstring() + L"." + std::to_wstring(random() % 1000000000u) + L".tmp";
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return INVALID_HANDLE_VALUE;
}

}  // namespace

FileWrite WriteFileAtomically(const std::filesystem::path& path, std::string_view contents,
                              ExistingFile existing) {
  const std::string shown = Utf8PathText(path);
  std::wstring temporary;
  const HANDLE file = OpenTemporary(path, temporary);
  if (file == INVALID_HANDLE_VALUE) return {false, false, Reason(shown, GetLastError())};
  const bool written = WriteAll(file, contents) && FlushFileBuffers(file);
  const DWORD write_error = GetLastError();
  if (!CloseHandle(file) || !written) {
    DeleteFileW(temporary.c_str());
    return {false, false, Reason(shown, written ? GetLastError() : write_error)};
  }
  DWORD flags = MOVEFILE_WRITE_THROUGH;
  if (existing == ExistingFile::replace) flags |= MOVEFILE_REPLACE_EXISTING;
  if (!MoveFileExW(temporary.c_str(), path.wstring().c_str(), flags)) {
    const DWORD error = GetLastError();
    DeleteFileW(temporary.c_str());
    const bool exists = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
    return {false, exists && existing == ExistingFile::keep, Reason(shown, error)};
  }
  return {true, false, {}};
}

}  // namespace zelk
