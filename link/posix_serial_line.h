// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial line on Linux and other POSIX systems: termios for the line
// settings, poll() against two monotonic deadlines for the COMMTIMEOUTS-style
// read (VTIME counts tenths of a second and cannot express a 20 ms gap).

#include <termios.h>

#include <string>

#include "link/serial_line.h"

namespace zelk {

// Turns the settings found on a port into the link's: raw bytes, 19200 baud,
// 8 data bits, no parity, parity checking off, one stop bit, receiver on,
// modem lines ignored, reads that never wait on their own (VMIN = VTIME = 0).
// Software flow control (XON/XOFF) is off, since the frames are binary;
// hardware flow control and everything else the driver set stays as found.
void MakeLinkTermios(termios& settings);

class PosixSerialLine final : public SerialLine {
 public:
  // Opens `device_path` for exclusive use (TIOCEXCL plus flock, because root
  // ignores TIOCEXCL) and sets it up with MakeLinkTermios; the settings found
  // are put back by Close. `timeouts` apply to every Read and Write.
  static OpenResult Open(const std::string& device_path, const CommTimeouts& timeouts);

  ~PosixSerialLine() override;
  PosixSerialLine(const PosixSerialLine&) = delete;
  PosixSerialLine& operator=(const PosixSerialLine&) = delete;

  void SetTimeouts(const CommTimeouts& timeouts) override { timeouts_ = timeouts; }
  IoResult Write(const std::uint8_t* data, std::size_t count) override;
  IoResult Read(std::uint8_t* data, std::size_t capacity) override;
  void PurgeOutput() override;
  void PurgeInput() override;
  void Close() override;

 private:
  PosixSerialLine(int fd, const termios& saved) : fd_(fd), saved_(saved) {}

  int fd_;
  termios saved_;
  CommTimeouts timeouts_{};
};

}  // namespace zelk
