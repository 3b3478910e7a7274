// SPDX-License-Identifier: GPL-3.0-or-later
// The `zelkctl raw` input line: what is a request, what is skipped, what is refused.
#include "cli/raw_request.h"

#include <gtest/gtest.h>

namespace zelk::cli {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ParseRawLine, Requests) {
  struct Case {
    std::string line;
    std::uint8_t command;
    std::uint16_t address;
    std::uint8_t count;
    Bytes payload;
  };
  const Case cases[] = {
      {"3 1 1", 3, 1, 1, {0x00}},
      {"1 1 25", 1, 1, 25, Bytes(25, 0)},
      {"0 0x43 10", 0, 0x43, 10, Bytes(10, 0)},
      {"0X0d 0x0001 0x01 02", 13, 1, 1, {0x02}},
      {"4 3 1 ff", 4, 3, 1, {0xFF}},
      {"4 1 4 0a0B", 4, 1, 4, {0x0A, 0x0B, 0x00, 0x00}},
      {"  255\t65535 94  \r", 255, 0xFFFF, 94, Bytes(94, 0)},
      {"0 0 0", 0, 0, 0, {}},
      {"007 010 2", 7, 10, 2, {0, 0}},  // leading zeros are decimal, not octal
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const RawLine line = ParseRawLine(c.line);
    ASSERT_EQ(line.kind, RawLineKind::request) << line.error;
    EXPECT_EQ(line.request.command, c.command);
    EXPECT_EQ(line.request.address, c.address);
    EXPECT_EQ(line.request.count, c.count);
    EXPECT_EQ(line.request.payload, c.payload);
  }
}

TEST(ParseRawLine, Skipped) {
  for (const char* text : {"", "   ", "\t\r", "# a comment", "   #3 1 1"}) {
    EXPECT_EQ(ParseRawLine(text).kind, RawLineKind::skip) << text;
  }
}

TEST(ParseRawLine, Refused) {
  struct Case {
    std::string line;
    std::string message;  // a part of the error
  };
  const Case cases[] = {
      {"3 1", "expected COMMAND ADDRESS COUNT"},
      {"3", "expected COMMAND ADDRESS COUNT"},
      {"3 1 1 00 extra", "unexpected 'extra'"},
      {"256 1 1", "command 256 is out of range 0..255"},
      {"0x100 1 1", "command 0x100 is out of range 0..255"},
      {"1 65536 1", "address 65536 is out of range 0..65535"},
      {"1 1 95", "count 95 is out of range 0..94"},
      {"1 1 99999999999999999999999", "count 99999999999999999999999 is out of range"},
      {"-1 1 1", "command '-1' is not a number"},
      {"+1 1 1", "command '+1' is not a number"},
      {"x 1 1", "command 'x' is not a number"},
      {"1 0x 1", "address '0x' is not a number"},
      {"1 0xg 1", "address '0xg' is not a number"},
      {"1 1 1a", "count '1a' is not a number"},
      {"1 1 2 abc", "odd number of hex digits"},
      {"1 1 2 0x01", "is not hex digit pairs"},
      {"1 1 2 zz", "is not hex digit pairs"},
      {"1 1 2 010203", "payload has 3 bytes but count is 2"},
      {"1 1 0 00", "payload has 1 byte but count is 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const RawLine line = ParseRawLine(c.line);
    EXPECT_EQ(line.kind, RawLineKind::bad);
    EXPECT_NE(line.error.find(c.message), std::string::npos) << line.error;
  }
}

}  // namespace
}  // namespace zelk::cli
