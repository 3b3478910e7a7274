// SPDX-License-Identifier: GPL-3.0-or-later
// The link's reply acceptance over an arbitrary byte stream: FrameLink runs a
// series of exchanges on a FuzzLine, and every exchange is checked against what
// the line really returned.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "fuzz_check.h"
#include "fuzz_input.h"
#include "fuzz_line.h"
#include "link/frame.h"
#include "link/frame_link.h"

namespace {

using zelk::fuzz::FuzzInput;
using zelk::fuzz::FuzzLine;
using zelk::fuzz::LineCall;
using zelk::fuzz::LineRecord;

constexpr std::size_t kGuard = 16;  // bytes on either side of the caller's buffer
constexpr int kMaxExchanges = 64;

// CRC-8 (poly 0x07, init 0) by a table, independent of the link's bitwise loop.
constexpr std::array<std::uint8_t, 256> kCrcTable = [] {
  std::array<std::uint8_t, 256> table{};
  for (unsigned i = 0; i < 256; ++i) {
    unsigned crc = i;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x80) ? (crc << 1) ^ 0x07 : crc << 1;
    table[i] = static_cast<std::uint8_t>(crc);
  }
  return table;
}();

// A well-formed reply: its last byte is the CRC-8 of all the bytes before it.
bool CheckByteRight(const std::vector<std::uint8_t>& reply) {
  if (reply.empty()) return false;
  std::uint8_t crc = 0;
  for (std::size_t i = 0; i + 1 < reply.size(); ++i) crc = kCrcTable[crc ^ reply[i]];
  return crc == reply.back();
}

const LineRecord* LastRead(const std::vector<LineRecord>& log) {
  for (auto it = log.rbegin(); it != log.rend(); ++it) {
    if (it->call == LineCall::read) return &*it;
  }
  return nullptr;
}

bool Contains(const std::vector<LineRecord>& log, LineCall call) {
  return std::any_of(log.begin(), log.end(),
                     [call](const LineRecord& r) { return r.call == call; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  std::vector<LineRecord> log;
  zelk::FrameLink link([&](const std::string&) {
    zelk::OpenResult opened;
    opened.line = std::make_unique<FuzzLine>(input, log);
    return opened;
  });
  link.OpenPort("fuzz");

  for (int i = 0; i < kMaxExchanges && !input.empty(); ++i) {
    // A closed port (the device vanished) is mostly opened again; sometimes the
    // caller tries to exchange on it anyway.
    if (!link.port_open() && (input.Byte() & 1) != 0) link.OpenPort("fuzz");
    const std::uint8_t command = input.Byte();
    const auto address = static_cast<std::uint16_t>(input.Byte() << 8 | input.Byte());
    const std::uint8_t count = input.Byte();
    const std::size_t capacity = input.Byte() % 128;

    std::vector<std::uint8_t> area(kGuard + capacity + kGuard);
    for (std::size_t j = 0; j < area.size(); ++j) area[j] = static_cast<std::uint8_t>(j * 37 + 11);
    const std::vector<std::uint8_t> before = area;
    const std::span<std::uint8_t> buffer(area.data() + kGuard, capacity);
    const std::span<const std::uint8_t> payload_before(before.data() + kGuard, capacity);

    const bool was_open = link.port_open();
    const bool was_resync = link.resync_pending();
    log.clear();
    const bool ok = link.ExchangeFrame(command, address, count, buffer);

    ZELK_FUZZ_CHECK(std::equal(area.begin(), area.begin() + kGuard, before.begin()));
    ZELK_FUZZ_CHECK(std::equal(area.end() - kGuard, area.end(), before.end() - kGuard));

    if (!was_open || count > zelk::kMaxRequestPayload || count > capacity) {
      // Refused without touching the line or the buffer.
      ZELK_FUZZ_CHECK(!ok && log.empty() && area == before);
      ZELK_FUZZ_CHECK(link.last_payload_size() == 0);
      ZELK_FUZZ_CHECK(link.last_failure() == (was_open ? zelk::ExchangeFailure::bad_request
                                                       : zelk::ExchangeFailure::not_open));
      continue;
    }

    // Every write is the request, byte for byte; a silent module gets it at most three times.
    std::array<std::uint8_t, zelk::kFrameBufferSize> request{};
    const std::size_t request_size =
        zelk::BuildRequest(command, address, payload_before.first(count), request);
    int writes = 0;
    for (const LineRecord& r : log) {
      if (r.call != LineCall::write) continue;
      ++writes;
      ZELK_FUZZ_CHECK(std::equal(r.bytes.begin(), r.bytes.end(), request.begin(),
                                 request.begin() + request_size) &&
                      r.bytes.size() == request_size);
    }
    ZELK_FUZZ_CHECK(writes >= 1 && writes <= zelk::kExchangeTries);

    // After a failed exchange the line is drained before the next request goes out.
    if (was_resync) {
      const auto first_write = std::find_if(
          log.begin(), log.end(), [](const LineRecord& r) { return r.call == LineCall::write; });
      ZELK_FUZZ_CHECK(std::any_of(log.begin(), first_write,
                                  [](const LineRecord& r) { return r.call == LineCall::read; }));
    }

    // As with the Windows API's last error, the last call that failed decides
    // whether the device is gone.
    const auto last_failed = std::find_if(log.rbegin(), log.rend(), [](const LineRecord& r) {
      return r.error != zelk::LineError::none;
    });
    const bool device_gone =
        last_failed != log.rend() && last_failed->error == zelk::LineError::device_gone;
    const LineRecord* reply = LastRead(log);
    ZELK_FUZZ_CHECK(reply != nullptr);
    // A loopback plug or an echoing adapter sends the request back: that is no reply.
    const bool echo = reply->bytes.size() == request_size &&
                      std::equal(reply->bytes.begin(), reply->bytes.end(), request.begin());

    if (ok) {
      // The reply is exactly the last block read, and it carries the right check byte.
      ZELK_FUZZ_CHECK(!device_gone && link.port_open() && !link.resync_pending());
      ZELK_FUZZ_CHECK(link.last_failure() == zelk::ExchangeFailure::none);
      ZELK_FUZZ_CHECK(CheckByteRight(reply->bytes) && zelk::ReplyAccepted(reply->bytes) && !echo);
      const std::size_t body = reply->bytes.size() > zelk::kReplyOverhead
                                   ? reply->bytes.size() - zelk::kReplyOverhead
                                   : 0;
      const std::size_t copied = std::min(body, capacity);
      ZELK_FUZZ_CHECK(link.last_payload_size() == copied);
      ZELK_FUZZ_CHECK(std::equal(buffer.begin(), buffer.begin() + copied,
                                 reply->bytes.begin() + (copied > 0 ? 2 : 0)));
      ZELK_FUZZ_CHECK(
          std::equal(buffer.begin() + copied, buffer.end(), payload_before.begin() + copied));
      continue;
    }

    ZELK_FUZZ_CHECK(area == before && link.last_payload_size() == 0);
    if (device_gone) {
      ZELK_FUZZ_CHECK(!link.port_open() && Contains(log, LineCall::close));
      ZELK_FUZZ_CHECK(link.last_failure() == zelk::ExchangeFailure::device_gone);
      continue;
    }
    ZELK_FUZZ_CHECK(link.port_open() && link.resync_pending());
    // Refused: nothing came or only the echo (no reply), or the check byte is wrong.
    const bool nothing = reply->bytes.empty() || echo;
    ZELK_FUZZ_CHECK(nothing || !CheckByteRight(reply->bytes));
    ZELK_FUZZ_CHECK(link.last_failure() ==
                    (nothing ? zelk::ExchangeFailure::no_reply : zelk::ExchangeFailure::bad_check));
  }
  return 0;
}
