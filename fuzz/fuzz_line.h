// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A SerialLine whose every read and write outcome is chosen by the fuzzer:
// chunks of bytes, silences (a time-out with nothing read), failing calls and a
// vanishing device. Each call is logged so the target can check what the link
// did with what the line gave it.

#include <cstdint>
#include <vector>

#include "fuzz_input.h"
#include "link/serial_line.h"

namespace zelk::fuzz {

enum class LineCall { write, read, purge_output, purge_input, close };

struct LineRecord {
  LineCall call = LineCall::read;
  std::vector<std::uint8_t> bytes;  // written, or returned by a read
  LineError error = LineError::none;
};

class FuzzLine : public SerialLine {
 public:
  FuzzLine(FuzzInput& input, std::vector<LineRecord>& log) : input_(input), log_(log) {}

  void SetTimeouts(const CommTimeouts&) override {}
  IoResult Write(const std::uint8_t* data, std::size_t count) override;
  IoResult Read(std::uint8_t* data, std::size_t capacity) override;
  void PurgeOutput() override { log_.push_back({LineCall::purge_output, {}, LineError::none}); }
  void PurgeInput() override { log_.push_back({LineCall::purge_input, {}, LineError::none}); }
  void Close() override { log_.push_back({LineCall::close, {}, LineError::none}); }

 private:
  FuzzInput& input_;
  std::vector<LineRecord>& log_;
};

}  // namespace zelk::fuzz
