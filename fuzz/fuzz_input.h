// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fuzzer's bytes read front to back as decisions and data. Past the end
// every byte reads as 0, so a script always ends in silence.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zelk::fuzz {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : bytes_(data, size) {}

  bool empty() const { return pos_ >= bytes_.size(); }

  std::uint8_t Byte() { return empty() ? 0 : bytes_[pos_++]; }

  // Up to `n` bytes; fewer when the input runs out.
  std::span<const std::uint8_t> Bytes(std::size_t n) {
    n = std::min(n, bytes_.size() - std::min(pos_, bytes_.size()));
    const std::span<const std::uint8_t> taken = bytes_.subspan(pos_, n);
    pos_ += n;
    return taken;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

}  // namespace zelk::fuzz
