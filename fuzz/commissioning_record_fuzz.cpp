// SPDX-License-Identifier: GPL-3.0-or-later
// A commissioning record from a vehicle's folder, any bytes: it is either
// refused with a reason or accepted, and an accepted record written again
// reads back as the same record. Nothing is written to disk.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "records/commissioning.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const zelk::DecodedCommissioningRecord decoded = zelk::DecodeCommissioningRecord(text);
  ZELK_FUZZ_CHECK(decoded.record.has_value() == decoded.error.empty());
  if (!decoded.record) return 0;
  const std::string encoded = zelk::EncodeCommissioningRecord(*decoded.record);
  const zelk::DecodedCommissioningRecord again = zelk::DecodeCommissioningRecord(encoded);
  ZELK_FUZZ_CHECK(again.record.has_value());
  ZELK_FUZZ_CHECK(zelk::EncodeCommissioningRecord(*again.record) == encoded);
  return 0;
}
