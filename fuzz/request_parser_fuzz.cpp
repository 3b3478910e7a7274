// SPDX-License-Identifier: GPL-3.0-or-later
// The simulator's request parser over an arbitrary byte stream with arbitrary
// gaps. The input is pairs (gap in half milliseconds, byte).

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "fuzz_check.h"
#include "link/frame.h"
#include "sim/request_parser.h"

namespace {

// The bytes after any leading non-start bytes, when they are exactly one valid request.
bool IsOneRequestAfterNoise(const std::vector<std::uint8_t>& burst) {
  const auto start = std::find(burst.begin(), burst.end(), zelk::kFrameStart);
  const std::span<const std::uint8_t> frame(start, burst.end());
  if (frame.size() < zelk::kRequestOverhead) return false;
  const std::size_t count = frame[4];
  return count <= zelk::kMaxRequestPayload && frame.size() == count + zelk::kRequestOverhead &&
         zelk::FrameChecksum(frame) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zelk::sim::RequestParser parser;
  std::vector<std::uint8_t> burst;  // the bytes since the last gap that resets the parser
  double now_ms = 0;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    const double gap_ms = data[i] / 2.0;  // 0 .. 127.5, exact in binary
    now_ms += gap_ms;
    if (gap_ms > zelk::sim::RequestParser::kResetGapMs) burst.clear();
    burst.push_back(data[i + 1]);

    const std::optional<zelk::sim::Request> request = parser.Feed(data[i + 1], now_ms);
    if (!request) {
      // A request behind noise that holds no start byte is always found.
      ZELK_FUZZ_CHECK(!IsOneRequestAfterNoise(burst));
      continue;
    }
    ZELK_FUZZ_CHECK(request->payload.size() <= zelk::kMaxRequestPayload);
    std::array<std::uint8_t, zelk::kFrameBufferSize> frame{};
    const std::size_t length =
        zelk::BuildRequest(request->command, request->address, request->payload, frame);
    ZELK_FUZZ_CHECK(length == request->payload.size() + zelk::kRequestOverhead);
    // What the parser returns was sent, byte for byte, within one burst.
    ZELK_FUZZ_CHECK(std::search(burst.begin(), burst.end(), frame.begin(),
                                frame.begin() + length) != burst.end());
  }
  return 0;
}
