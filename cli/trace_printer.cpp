// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/trace_printer.h"

#include <cstdio>

#include "cli/hex_text.h"

namespace zelk::cli {

std::string TraceLine(double ms, TraceDirection direction, std::span<const std::uint8_t> bytes) {
  char stamp[32];
  // Cannot fail for a double; a stamp too long for the buffer is only clipped.
  (void)std::snprintf(stamp, sizeof stamp, "%10.3f ms ", ms);
  return std::string(stamp) + (direction == TraceDirection::sent ? "> " : "< ") + SpacedHex(bytes);
}

FrameTrace MakeTracePrinter(std::ostream& out) {
  const auto start = std::chrono::steady_clock::now();
  return [&out, start](TraceDirection direction, std::span<const std::uint8_t> bytes) {
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    out << TraceLine(ms, direction, bytes) << '\n';
    out.flush();
  };
}

}  // namespace zelk::cli
