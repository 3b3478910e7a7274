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
    const std::uint8_t sizing = input.Byte();
    const std::size_t capacity = sizing % 128;
    // The top bit makes it a request of the table, whose callers need a
    // number of reply payload bytes; without it, a hand-made request that
    // takes a reply of any length.
    const bool from_table = (sizing & 0x80) != 0;
    const std::size_t needed = from_table ? (address & 0xFF) % (capacity + 1) : 0;

    std::vector<std::uint8_t> area(kGuard + capacity + kGuard);
    for (std::size_t j = 0; j < area.size(); ++j) area[j] = static_cast<std::uint8_t>(j * 37 + 11);
    const std::vector<std::uint8_t> before = area;
    const std::span<std::uint8_t> buffer(area.data() + kGuard, capacity);
    const std::span<const std::uint8_t> payload_before(before.data() + kGuard, capacity);

    const bool was_open = link.port_open();
    const bool was_resync = link.resync_pending();
    log.clear();
    const bool ok = from_table
                        ? link.ExchangeFrame(zelk::RequestSpec{command, address, count,
                                                               static_cast<std::uint8_t>(needed)},
                                             buffer)
                        : link.ExchangeFrame(command, address, count, buffer);

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

    // After a failed or retried exchange the line is made quiet before the
    // next request goes out: reads until one comes back empty, at most
    // kQuietReads of them, and nothing is sent while it still brings bytes.
    const auto first_write = std::find_if(
        log.begin(), log.end(), [](const LineRecord& r) { return r.call == LineCall::write; });
    std::vector<const LineRecord*> quiet_reads;
    for (auto it = log.begin(); it != first_write; ++it) {
      if (it->call == LineCall::read) quiet_reads.push_back(&*it);
    }
    ZELK_FUZZ_CHECK(was_resync || quiet_reads.empty());
    ZELK_FUZZ_CHECK(quiet_reads.size() <= static_cast<std::size_t>(zelk::kQuietReads));
    for (std::size_t q = 0; q + 1 < quiet_reads.size(); ++q) {
      ZELK_FUZZ_CHECK(!quiet_reads[q]->bytes.empty());
    }
    if (link.last_failure() == zelk::ExchangeFailure::noisy_line) {
      ZELK_FUZZ_CHECK(!ok && was_resync && first_write == log.end() && area == before);
      ZELK_FUZZ_CHECK(quiet_reads.size() == static_cast<std::size_t>(zelk::kQuietReads) &&
                      !quiet_reads.back()->bytes.empty());
      ZELK_FUZZ_CHECK(link.resync_pending() && link.last_payload_size() == 0);
      continue;
    }
    if (was_resync && first_write != log.end()) {
      ZELK_FUZZ_CHECK(!quiet_reads.empty() && quiet_reads.back()->bytes.empty());
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
    ZELK_FUZZ_CHECK(writes <= zelk::kExchangeTries);

    // As with the Windows API's last error, the last call that failed decides
    // whether the device is gone.
    const auto last_failed = std::find_if(log.rbegin(), log.rend(), [](const LineRecord& r) {
      return r.error != zelk::LineError::none;
    });
    const bool device_gone =
        last_failed != log.rend() && last_failed->error == zelk::LineError::device_gone;
    // Only a device gone while the line was being made quiet stops the request going out.
    ZELK_FUZZ_CHECK(writes >= 1 || device_gone);
    const LineRecord* reply = LastRead(log);
    ZELK_FUZZ_CHECK(reply != nullptr);
    // A loopback plug or an echoing adapter sends the request back: that is no reply.
    const bool echo = reply->bytes.size() == request_size &&
                      std::equal(reply->bytes.begin(), reply->bytes.end(), request.begin());

    const std::size_t body =
        reply->bytes.size() > zelk::kReplyOverhead ? reply->bytes.size() - zelk::kReplyOverhead : 0;
    if (ok) {
      // The reply is exactly the last block read, it carries the right check
      // byte and at least the payload the request needs. Only a retried
      // exchange leaves the line to be made quiet.
      ZELK_FUZZ_CHECK(!device_gone && link.port_open());
      ZELK_FUZZ_CHECK(link.resync_pending() == (writes > 1));
      ZELK_FUZZ_CHECK(link.last_failure() == zelk::ExchangeFailure::none);
      ZELK_FUZZ_CHECK(CheckByteRight(reply->bytes) && zelk::ReplyAccepted(reply->bytes) && !echo);
      ZELK_FUZZ_CHECK(body >= needed);
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
    // Refused: nothing came or only the echo (no reply), the check byte is
    // wrong, or the reply is short of what the request needs.
    const bool nothing = reply->bytes.empty() || echo;
    const bool checked = !nothing && CheckByteRight(reply->bytes);
    ZELK_FUZZ_CHECK(!checked || body < needed);
    ZELK_FUZZ_CHECK(link.last_failure() == (nothing   ? zelk::ExchangeFailure::no_reply
                                            : checked ? zelk::ExchangeFailure::short_reply
                                                      : zelk::ExchangeFailure::bad_check));
  }
  return 0;
}
