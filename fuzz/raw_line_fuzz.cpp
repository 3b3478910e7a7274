// SPDX-License-Identifier: GPL-3.0-or-later
// One line of `zelkctl raw` input, any bytes.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "cli/raw_request.h"
#include "fuzz_check.h"
#include "link/frame.h"

namespace {

// Room for the fixed words of the longest message besides the tokens it quotes.
constexpr std::size_t kErrorOverhead = 128;

// The request written back as a line, in hex throughout.
std::string LineOf(const zelk::cli::RawRequest& request) {
  char head[32];
  std::snprintf(head, sizeof head, "0x%X 0x%X %u ", request.command, request.address,
                request.count);
  std::string line = head;
  for (const std::uint8_t b : request.payload) {
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02x", b);
    line += pair;
  }
  return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const zelk::cli::RawLine line = zelk::cli::ParseRawLine(text);

  const std::size_t first = text.find_first_not_of(" \t\r\n");
  const bool blank_or_comment = first == std::string_view::npos || text[first] == '#';

  switch (line.kind) {
    case zelk::cli::RawLineKind::skip:
      ZELK_FUZZ_CHECK(blank_or_comment);
      break;
    case zelk::cli::RawLineKind::bad:
      // An error to print on one line, never longer than the input it quotes.
      ZELK_FUZZ_CHECK(!line.error.empty());
      ZELK_FUZZ_CHECK(line.error.size() <= size + kErrorOverhead);
      ZELK_FUZZ_CHECK(line.error.find_first_of("\r\n") == std::string::npos);
      break;
    case zelk::cli::RawLineKind::request: {
      ZELK_FUZZ_CHECK(!blank_or_comment && line.error.empty());
      ZELK_FUZZ_CHECK(line.request.count <= zelk::kMaxRequestPayload);
      ZELK_FUZZ_CHECK(line.request.payload.size() == line.request.count);
      // Written back, the request reads the same.
      const zelk::cli::RawLine again = zelk::cli::ParseRawLine(LineOf(line.request));
      ZELK_FUZZ_CHECK(again.kind == zelk::cli::RawLineKind::request);
      ZELK_FUZZ_CHECK(again.request.command == line.request.command &&
                      again.request.address == line.request.address &&
                      again.request.count == line.request.count &&
                      again.request.payload == line.request.payload);
      break;
    }
  }
  return 0;
}
