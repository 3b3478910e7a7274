// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// --trace: every frame on the line, stamped with the milliseconds since start.

#include <chrono>
#include <cstdint>
#include <ostream>
#include <span>
#include <string>

#include "link/frame_link.h"

namespace zelk::cli {

// "  12.345 ms > f3 03 00 01 01 00 9c" for a frame sent, '<' for one received.
std::string TraceLine(double ms, TraceDirection direction, std::span<const std::uint8_t> bytes);

// A trace hook writing TraceLine()s to `out`, timed from the moment it is made.
FrameTrace MakeTracePrinter(std::ostream& out);

}  // namespace zelk::cli
