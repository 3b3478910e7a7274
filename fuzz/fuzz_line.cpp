// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_line.h"

#include <algorithm>

#include "fuzz_check.h"

namespace zelk::fuzz {

IoResult FuzzLine::Write(const std::uint8_t* data, std::size_t count) {
  ZELK_FUZZ_CHECK(data != nullptr || count == 0);
  LineRecord record{LineCall::write, {data, data + count}, LineError::none};
  IoResult result{count, LineError::none};
  // Most writes go through; the low values of the byte pick a failure.
  switch (input_.Byte() % 16) {
    case 0:
      result = {0, LineError::device_gone};
      break;
    case 1:
      result = {0, LineError::other};
      break;
    case 2:
      result.bytes = count / 2;  // a write cut short without an error
      break;
    default:
      break;
  }
  record.error = result.error;
  log_.push_back(std::move(record));
  return result;
}

IoResult FuzzLine::Read(std::uint8_t* data, std::size_t capacity) {
  ZELK_FUZZ_CHECK(data != nullptr || capacity == 0);
  const std::uint8_t op = input_.Byte() % 8;
  IoResult result;
  if (op == 1) result.error = LineError::device_gone;
  if (op == 2) result.error = LineError::other;
  if (op >= 3) {
    // A chunk; with op 3 or 4 the device vanishes or the call fails after it.
    const std::size_t wanted = std::min<std::size_t>(input_.Byte(), capacity);
    const std::span<const std::uint8_t> chunk = input_.Bytes(wanted);
    std::copy(chunk.begin(), chunk.end(), data);
    result.bytes = chunk.size();
    if (op == 3) result.error = LineError::device_gone;
    if (op == 4) result.error = LineError::other;
  }
  log_.push_back({LineCall::read, {data, data + result.bytes}, result.error});
  return result;
}

}  // namespace zelk::fuzz
