// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// FrameLink owns the one open port and runs the request/reply exchange:
// up to three tries while the module stays silent, a purge after a reply that
// fails its check or comes short, the closing of the port when the device
// vanishes, and a quiet line before any exchange that follows a failed or
// retried one.
//
// Why the quiet line: a try is given up after 350 ms, but a module may still
// answer it later. A retried exchange that succeeds takes the answer to its
// first try, and the answers to the later tries are still on their way; a
// failed one may have answers coming too. With no length field and nothing
// in a reply naming its request, the next exchange would take them for its
// own. So the link first reads and discards until the line stays silent for a
// whole read.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "link/frame.h"
#include "link/requests.h"
#include "link/serial_line.h"

namespace zelk {

// Opens a port by the name the user typed or picked ("ttyUSB0", "/dev/pts/3", "COM5").
using LineOpener = std::function<OpenResult(const std::string& port_name)>;

// The platform's opener: PosixSerialLine or Win32SerialLine, with the device
// path built from the port name.
OpenResult OpenPlatformSerialLine(const std::string& port_name);

// A silent module gets the same request this many times.
inline constexpr int kExchangeTries = 3;

// Making the line quiet gives up after this many reads that each brought
// bytes: up to three late answers and a few stray bytes fit well inside, and
// a line that babbles on cannot hold the program for more than about two
// seconds (each read ends within 350 ms). The exchange then fails with
// noisy_line without sending anything, and the next one tries again.
inline constexpr int kQuietReads = 6;

// Why the last exchange brought no accepted reply.
enum class ExchangeFailure {
  none,
  not_open,     // no port was open
  bad_request,  // the count does not fit the frame or the caller's buffer; nothing was sent
  no_reply,     // silence on every try, or only the request's own echo
  bad_check,    // a reply came whose check byte is wrong
  device_gone,  // the device vanished; the port has been closed
  short_reply,  // a reply passed its check but carried fewer payload bytes than the request needs
  noisy_line,   // bytes kept coming while the line was being made quiet; nothing was sent
};

enum class TraceDirection { sent, received };
using FrameTrace = std::function<void(TraceDirection, std::span<const std::uint8_t>)>;

class FrameLink {
 public:
  explicit FrameLink(LineOpener opener = OpenPlatformSerialLine);
  ~FrameLink();
  FrameLink(const FrameLink&) = delete;
  FrameLink& operator=(const FrameLink&) = delete;

  // Closes an open port first. On failure the port stays closed and the
  // result says why; resync_pending is left alone either way.
  OpenResult OpenPort(const std::string& port_name);

  // Sends `count` bytes from the start of `buffer` as the request payload and
  // takes one reply. On success the reply payload is copied to the start of
  // `buffer`; bytes beyond buffer.size() are dropped (the module may send more
  // than a caller reads) and the exchange still counts as accepted. On failure
  // `buffer` is untouched. A count above 94 or above buffer.size() is refused
  // without any I/O: it is a caller error, as the frame buffer holds 100 bytes.
  // This form takes a reply of any length: it is for diagnostics, where the
  // person asking reads what came.
  bool ExchangeFrame(std::uint8_t command, std::uint16_t address, std::uint8_t count,
                     std::span<std::uint8_t> buffer);
  // A request of the table: as above, and a reply with fewer than
  // request.reply_count payload bytes fails as short_reply, handled as a bad
  // check byte is. A buffer too small for reply_count is refused as
  // bad_request without any I/O.
  bool ExchangeFrame(const RequestSpec& request, std::span<std::uint8_t> buffer);

  // True when a port was open and has been closed.
  bool ClosePort();

  bool port_open() const { return port_open_; }
  // The next exchange first makes the line quiet: set by a failed exchange
  // and by one that needed more than one try, cleared by one answered on
  // its first try.
  bool resync_pending() const { return resync_pending_; }

  // How many payload bytes the last successful exchange copied into the
  // caller's buffer (0 after a failed one). The reply has no length field,
  // so this is the only way to learn how much came.
  std::size_t last_payload_size() const { return last_payload_size_; }

  // Why the last exchange failed (none after a successful one).
  ExchangeFailure last_failure() const { return last_failure_; }

  // Called with every frame written and every non-empty block read, the
  // reads that make the line quiet included (diagnostics only).
  void SetTrace(FrameTrace trace) { trace_ = std::move(trace); }

 private:
  // One Write or Read on frame_buf_, passed to the trace hook.
  IoResult WriteFrame(std::size_t length);
  IoResult ReadFrame();
  bool Exchange(std::uint8_t command, std::uint16_t address, std::uint8_t count,
                std::size_t reply_count, std::span<std::uint8_t> buffer);
  // Purges the output, then reads and discards until a read comes back
  // empty. False when the line still brought bytes after kQuietReads reads.
  bool MakeQuiet(LineError& last_error);

  LineOpener opener_;
  std::unique_ptr<SerialLine> line_;
  std::array<std::uint8_t, kFrameBufferSize> frame_buf_{};
  std::size_t io_count_ = 0;
  std::size_t last_payload_size_ = 0;
  ExchangeFailure last_failure_ = ExchangeFailure::none;
  bool port_open_ = false;
  bool resync_pending_ = false;
  FrameTrace trace_;
};

}  // namespace zelk
