// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one I/O seam of the program: a serial line with the Windows
// COMMTIMEOUTS semantics the module protocol was designed around. Every
// implementation (termios, Win32, the in-process simulator) behaves alike:
//
//  * Read(buf, n) returns as soon as n bytes have arrived, or when more than
//    `read_interval_ms` pass between two bytes once the first has come, or
//    when `read_total_multiplier_ms * n + read_total_constant_ms` have passed
//    since the read began. A read that receives nothing returns 0 bytes.
//  * Write(k bytes) is bounded by write_total_multiplier_ms * k +
//    write_total_constant_ms.
//  * A vanished device (unplugged adapter, hung-up pty) is reported as
//    LineError::device_gone; the link then closes the port. A read that got
//    some bytes before the device vanished returns them with that error.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace zelk {

struct CommTimeouts {
  std::uint32_t read_interval_ms = 0;
  std::uint32_t read_total_multiplier_ms = 0;
  std::uint32_t read_total_constant_ms = 0;
  std::uint32_t write_total_multiplier_ms = 0;
  std::uint32_t write_total_constant_ms = 0;
};

// The time-outs the link runs with: a reply ends at a pause of more than
// 20 ms, a silent read of 100 bytes gives up after 3 x 100 + 50 = 350 ms.
inline constexpr CommTimeouts kLinkTimeouts{20, 3, 50, 2, 50};

enum class LineError {
  none,
  device_gone,  // the device vanished: see win32_line_error.h; POLLHUP/EIO on POSIX
  other,        // any other failing call
};

struct IoResult {
  std::size_t bytes = 0;
  LineError error = LineError::none;
};

class SerialLine {
 public:
  virtual ~SerialLine() = default;

  // Applies the time-outs to every later Read and Write.
  virtual void SetTimeouts(const CommTimeouts& timeouts) = 0;
  virtual IoResult Write(const std::uint8_t* data, std::size_t count) = 0;
  virtual IoResult Read(std::uint8_t* data, std::size_t capacity) = 0;
  // PURGE_TXABORT: abandon output not yet sent.
  virtual void PurgeOutput() = 0;
  // PURGE_RXABORT: abandon a pending read and what is buffered for it.
  virtual void PurgeInput() = 0;
  // Puts back what opening changed (the saved time-outs) and releases the port.
  virtual void Close() = 0;
};

enum class OpenError {
  none,
  not_found,          // no such device
  busy,               // another program holds the port
  permission_denied,  // on Linux: the user is not in the dialout group
  not_a_serial_port,  // the path exists but is no tty
  invalid_name,       // empty or unusable port name
  other,
};

struct OpenResult {
  std::unique_ptr<SerialLine> line;  // set on success
  OpenError error = OpenError::none;
  std::string detail;  // the system's own words, for diagnostics
};

// A one-line description of an open failure a technician can act on.
std::string DescribeOpenError(OpenError error);

}  // namespace zelk
