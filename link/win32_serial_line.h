// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial line on Windows: a synchronous (non-overlapped) COM port handle
// whose COMMTIMEOUTS give the read and write limits directly.

#ifdef _WIN32

#include <windows.h>

#include <string>

#include "link/serial_line.h"

namespace zelk {

class Win32SerialLine final : public SerialLine {
 public:
  // CreateFileA with share mode 0 (exclusive), the given time-outs, then
  // 19200 8N1 with parity checking off; every other DCB field stays as the
  // driver reports it. The time-outs found are kept and put back by Close.
  static OpenResult Open(const std::string& device_path, const CommTimeouts& timeouts);

  ~Win32SerialLine() override;
  Win32SerialLine(const Win32SerialLine&) = delete;
  Win32SerialLine& operator=(const Win32SerialLine&) = delete;

  void SetTimeouts(const CommTimeouts& timeouts) override;
  IoResult Write(const std::uint8_t* data, std::size_t count) override;
  IoResult Read(std::uint8_t* data, std::size_t capacity) override;
  void PurgeOutput() override;
  void PurgeInput() override;
  void Close() override;

 private:
  Win32SerialLine(HANDLE handle, const COMMTIMEOUTS& saved) : handle_(handle), saved_(saved) {}

  HANDLE handle_;
  COMMTIMEOUTS saved_;
};

}  // namespace zelk

#endif  // _WIN32
