// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/win32_serial_line.h"

#ifdef _WIN32

#include "link/win32_line_error.h"

#include <algorithm>
#include <memory>

#include "text/fill.h"
#include "text/translatable.h"

namespace zelk {
namespace {

struct Win32Meaning {
  DWORD code;
  OpenError error;
};

// What CreateFileA's error means to a technician. A port held by another
// program is reported as ERROR_ACCESS_DENIED.
constexpr Win32Meaning kOpenErrors[] = {
    {ERROR_FILE_NOT_FOUND, OpenError::not_found},  {ERROR_PATH_NOT_FOUND, OpenError::not_found},
    {ERROR_ACCESS_DENIED, OpenError::busy},        {ERROR_SHARING_VIOLATION, OpenError::busy},
    {ERROR_INVALID_NAME, OpenError::invalid_name}, {ERROR_BAD_PATHNAME, OpenError::invalid_name},
};

// The result of a failing ReadFile or WriteFile. A port whose DCB has
// fAbortOnError set (the driver's choice, which the open keeps) also aborts
// its requests on a framing or overrun error until the error is cleared; the
// device is still there when ClearCommError answers.
LineError LastLineError(HANDLE handle) {
  const DWORD code = GetLastError();
  if (code == ERROR_OPERATION_ABORTED) {
    DWORD errors = 0;
    if (ClearCommError(handle, &errors, nullptr)) return LineError::other;
  }
  return LineErrorOfWin32Code(code);
}

DWORD ClampToDword(std::size_t count) {
  return static_cast<DWORD>(std::min<std::size_t>(count, MAXDWORD));
}

}  // namespace

OpenResult Win32SerialLine::Open(const std::string& device_path, const CommTimeouts& timeouts) {
  HANDLE handle = CreateFileA(device_path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    OpenResult result;
    result.error = OpenError::other;
    for (const Win32Meaning& meaning : kOpenErrors) {
      if (meaning.code == code) result.error = meaning.error;
    }
    result.detail =
        Fill(QT_TRANSLATE_NOOP("Link", "%1: error %2"), {device_path, std::to_string(code)});
    return result;
  }

  COMMTIMEOUTS saved{};
  GetCommTimeouts(handle, &saved);
  auto line = std::unique_ptr<Win32SerialLine>(new Win32SerialLine(handle, saved));
  line->SetTimeouts(timeouts);

  // The line settings are written into a DCB of the classic 28-byte layout.
  static_assert(sizeof(DCB) == 28, "DCB layout differs from the one the line settings assume");
  DCB dcb{};
  dcb.DCBlength = sizeof(DCB);
  GetCommState(handle, &dcb);
  dcb.BaudRate = 19200;
  dcb.fParity = FALSE;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  SetCommState(handle, &dcb);

  OpenResult result;
  result.line = std::move(line);
  return result;
}

Win32SerialLine::~Win32SerialLine() {
  Close();
}

void Win32SerialLine::SetTimeouts(const CommTimeouts& timeouts) {
  if (handle_ == INVALID_HANDLE_VALUE) return;
  COMMTIMEOUTS native{};
  native.ReadIntervalTimeout = timeouts.read_interval_ms;
  native.ReadTotalTimeoutMultiplier = timeouts.read_total_multiplier_ms;
  native.ReadTotalTimeoutConstant = timeouts.read_total_constant_ms;
  native.WriteTotalTimeoutMultiplier = timeouts.write_total_multiplier_ms;
  native.WriteTotalTimeoutConstant = timeouts.write_total_constant_ms;
  SetCommTimeouts(handle_, &native);
}

IoResult Win32SerialLine::Write(const std::uint8_t* data, std::size_t count) {
  IoResult result;
  if (handle_ == INVALID_HANDLE_VALUE) {
    result.error = LineError::other;
    return result;
  }
  DWORD written = 0;
  if (!WriteFile(handle_, data, ClampToDword(count), &written, nullptr)) {
    result.error = LastLineError(handle_);
  }
  result.bytes = written;
  return result;
}

IoResult Win32SerialLine::Read(std::uint8_t* data, std::size_t capacity) {
  IoResult result;
  if (handle_ == INVALID_HANDLE_VALUE) {
    result.error = LineError::other;
    return result;
  }
  DWORD got = 0;
  if (!ReadFile(handle_, data, ClampToDword(capacity), &got, nullptr)) {
    result.error = LastLineError(handle_);
  }
  result.bytes = std::min<std::size_t>(got, capacity);
  return result;
}

void Win32SerialLine::PurgeOutput() {
  if (handle_ != INVALID_HANDLE_VALUE) PurgeComm(handle_, PURGE_TXABORT);
}

void Win32SerialLine::PurgeInput() {
  if (handle_ != INVALID_HANDLE_VALUE) PurgeComm(handle_, PURGE_RXABORT);
}

void Win32SerialLine::Close() {
  if (handle_ == INVALID_HANDLE_VALUE) return;
  SetCommTimeouts(handle_, &saved_);
  CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
}

}  // namespace zelk

#endif  // _WIN32
