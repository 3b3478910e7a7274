// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/posix_serial_line.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <optional>

namespace zelk {
namespace {

using Clock = std::chrono::steady_clock;
using Deadline = std::optional<Clock::time_point>;

struct ErrnoMeaning {
  int code;
  OpenError error;
};

// What an errno from open(), flock() or tcgetattr() means to a technician.
constexpr ErrnoMeaning kOpenErrnos[] = {
    {ENOENT, OpenError::not_found},
    {ENODEV, OpenError::not_found},
    {ENXIO, OpenError::not_found},
    {ENOTDIR, OpenError::not_found},
    {EACCES, OpenError::permission_denied},
    {EPERM, OpenError::permission_denied},
    {EBUSY, OpenError::busy},
    {EWOULDBLOCK, OpenError::busy},  // flock: another program holds the lock
    {ENOTTY, OpenError::not_a_serial_port},
    {EISDIR, OpenError::not_a_serial_port},
    {ENAMETOOLONG, OpenError::invalid_name},
};

OpenResult OpenFailure(const std::string& path, int code) {
  OpenResult result;
  result.error = OpenError::other;
  for (const ErrnoMeaning& meaning : kOpenErrnos) {
    if (meaning.code == code) result.error = meaning.error;
  }
  result.detail = path + ": " + std::strerror(code);  // the system's words: nothing to translate
  return result;
}

OpenResult NotASerialPort(const std::string& path, int code) {
  OpenResult result = OpenFailure(path, code);
  result.error = OpenError::not_a_serial_port;
  return result;
}

bool IsDeviceGoneErrno(int code) {
  return code == EIO || code == EPIPE || code == ENXIO || code == ENODEV;
}

// A deadline `ms` from `from`, or none when the time-out is 0 (no limit, as
// with COMMTIMEOUTS).
Deadline After(Clock::time_point from, std::uint64_t ms) {
  if (ms == 0) return std::nullopt;
  return from + std::chrono::milliseconds(ms);
}

Deadline Sooner(Deadline a, Deadline b) {
  if (!a) return b;
  if (!b) return a;
  return std::min(*a, *b);
}

// Sleeps in ppoll() until `events` or the deadline. Returns the revents, 0 at
// the deadline, -1 on a poll error.
int WaitFor(int fd, short events, Deadline deadline) {
  for (;;) {
    timespec wait{};
    timespec* timeout = nullptr;
    if (deadline) {
      const auto left = *deadline - Clock::now();
      if (left <= Clock::duration::zero()) return 0;
      const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
      wait.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
      wait.tv_nsec = static_cast<long>(ns % 1'000'000'000);
      timeout = &wait;
    }
    pollfd watched{fd, events, 0};
    const int ready = ::ppoll(&watched, 1, timeout, nullptr);
    if (ready > 0) return watched.revents;
    if (ready == 0) return 0;
    if (errno != EINTR) return -1;
  }
}

constexpr short kHangUp = POLLHUP | POLLERR;

}  // namespace

void MakeLinkTermios(termios& settings) {
  // Input: no translation, stripping, parity marking or break handling.
  // Software flow control goes too: Linux opens a tty with IXON on, and the
  // frames are binary, so a reply byte of 0x11 or 0x13 would be swallowed as
  // XON/XOFF and the CRC would fail at random. Hardware flow control (CRTSCTS)
  // and the modem lines stay as the driver has them.
  settings.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                             ICRNL | INPCK | IXON | IXOFF | IXANY);
  settings.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  settings.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB);
  settings.c_cflag |= CS8 | CREAD | CLOCAL;
  settings.c_cc[VMIN] = 0;
  settings.c_cc[VTIME] = 0;
  cfsetispeed(&settings, B19200);
  cfsetospeed(&settings, B19200);
}

OpenResult PosixSerialLine::Open(const std::string& device_path, const CommTimeouts& timeouts) {
  const int fd = ::open(device_path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    const int code = errno;
    // A socket refuses open() with ENXIO, which for a device means "absent".
    struct stat found {};
    if (::stat(device_path.c_str(), &found) == 0 && !S_ISCHR(found.st_mode)) {
      return NotASerialPort(device_path, code);
    }
    return OpenFailure(device_path, code);
  }

  auto fail = [&](int code) {
    ::close(fd);
    return OpenFailure(device_path, code);
  };
  struct stat opened {};
  if (::fstat(fd, &opened) != 0) return fail(errno);
  if (!S_ISCHR(opened.st_mode)) {
    ::close(fd);
    return NotASerialPort(device_path, ENOTTY);
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return fail(errno);
  termios saved{};
  // A device that is no tty (/dev/random) answers ENOTTY or EINVAL here.
  if (::tcgetattr(fd, &saved) != 0) {
    const int code = errno;
    ::close(fd);
    return NotASerialPort(device_path, code);
  }
  if (::ioctl(fd, TIOCEXCL) != 0) return fail(errno);
  termios settings = saved;
  MakeLinkTermios(settings);
  if (::tcsetattr(fd, TCSANOW, &settings) != 0) {
    const int code = errno;
    ::ioctl(fd, TIOCNXCL);
    return fail(code);
  }

  // Bytes that came while nobody had the port open (the tail of an earlier
  // session, a boot message when the adapter raised its lines) would be read
  // as the start of the first reply.
  ::tcflush(fd, TCIFLUSH);

  auto line = std::unique_ptr<PosixSerialLine>(new PosixSerialLine(fd, saved));
  line->SetTimeouts(timeouts);
  OpenResult result;
  result.line = std::move(line);
  return result;
}

PosixSerialLine::~PosixSerialLine() {
  Close();
}

IoResult PosixSerialLine::Write(const std::uint8_t* data, std::size_t count) {
  IoResult result;
  if (fd_ < 0) {
    result.error = LineError::other;
    return result;
  }
  const Deadline deadline =
      After(Clock::now(), std::uint64_t{timeouts_.write_total_multiplier_ms} * count +
                              timeouts_.write_total_constant_ms);
  while (result.bytes < count) {
    const ssize_t written = ::write(fd_, data + result.bytes, count - result.bytes);
    if (written > 0) {
      result.bytes += static_cast<std::size_t>(written);
      continue;
    }
    if (written < 0 && errno == EINTR) continue;
    if (written < 0 && errno == EAGAIN) {
      const int revents = WaitFor(fd_, POLLOUT, deadline);
      if (revents == 0) break;  // time-out: like WriteFile, fewer bytes and no error
      if (revents < 0) {
        result.error = LineError::other;
        break;
      }
      continue;  // writable, or hung up: the next write() tells which
    }
    result.error =
        (written < 0 && IsDeviceGoneErrno(errno)) ? LineError::device_gone : LineError::other;
    break;
  }
  return result;
}

IoResult PosixSerialLine::Read(std::uint8_t* data, std::size_t capacity) {
  IoResult result;
  if (fd_ < 0) {
    result.error = LineError::other;
    return result;
  }
  if (capacity == 0) return result;
  const Deadline total =
      After(Clock::now(), std::uint64_t{timeouts_.read_total_multiplier_ms} * capacity +
                              timeouts_.read_total_constant_ms);
  Deadline gap;  // set once the first byte is in: last byte + interval
  while (result.bytes < capacity) {
    const int revents = WaitFor(fd_, POLLIN, Sooner(total, gap));
    if (revents == 0) break;
    if (revents < 0 || (revents & POLLNVAL)) {
      result.error = LineError::other;
      break;
    }
    const ssize_t got = ::read(fd_, data + result.bytes, capacity - result.bytes);
    if (got > 0) {
      result.bytes += static_cast<std::size_t>(got);
      gap = After(Clock::now(), timeouts_.read_interval_ms);
      continue;
    }
    if (got < 0 && IsDeviceGoneErrno(errno)) {
      result.error = LineError::device_gone;
      break;
    }
    // A hung-up tty polls readable with nothing to read: read() gives 0 or EAGAIN.
    if (revents & kHangUp) {
      result.error = LineError::device_gone;
      break;
    }
    if (got < 0 && errno != EAGAIN && errno != EINTR) {
      result.error = LineError::other;
      break;
    }
  }
  return result;
}

void PosixSerialLine::PurgeOutput() {
  if (fd_ >= 0) ::tcflush(fd_, TCOFLUSH);
}

void PosixSerialLine::PurgeInput() {
  if (fd_ >= 0) ::tcflush(fd_, TCIFLUSH);
}

void PosixSerialLine::Close() {
  if (fd_ < 0) return;
  // Failures are of no use here: a vanished device refuses all of these.
  ::tcsetattr(fd_, TCSANOW, &saved_);
  ::ioctl(fd_, TIOCNXCL);
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
  fd_ = -1;
}

}  // namespace zelk
