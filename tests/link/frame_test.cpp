// SPDX-License-Identifier: GPL-3.0-or-later
// The frame codec: CRC-8, request layout and the reply acceptance rule.
#include "link/frame.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace zelk {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint8_t Crc(const Bytes& bytes) {
  return FrameChecksum(bytes);
}

// Appends the check byte, as the module does.
Bytes WithCheck(Bytes bytes) {
  bytes.push_back(Crc(bytes));
  return bytes;
}

TEST(FrameChecksum, MatchesTheCatalogueCheckValue) {
  constexpr std::string_view digits = "123456789";
  const Bytes bytes(digits.begin(), digits.end());
  EXPECT_EQ(Crc(bytes), 0xF4);
}

TEST(FrameChecksum, KnownValues) {
  struct Case {
    Bytes bytes;
    std::uint8_t crc;
  };
  const Case cases[] = {
      {{}, 0x00},     {{0x00}, 0x00}, {{0x01}, 0x07},
      {{0x80}, 0x89}, {{0xFF}, 0xF3}, {{0xF3, 0x03, 0x00, 0x01, 0x01, 0x00}, 0x9C},
  };
  for (const Case& c : cases) EXPECT_EQ(Crc(c.bytes), c.crc) << testing::PrintToString(c.bytes);
}

TEST(FrameChecksum, LengthLimitsTheBytesRead) {
  const std::uint8_t bytes[] = {0x31, 0x32, 0x33, 0xAA};
  EXPECT_EQ(FrameChecksum(bytes, 3), Crc({0x31, 0x32, 0x33}));
  EXPECT_EQ(FrameChecksum(bytes, 0), 0);
}

TEST(BuildRequest, VersionQueryIsByteExact) {
  std::array<std::uint8_t, kFrameBufferSize> out{};
  const std::uint8_t payload[] = {0x00};
  ASSERT_EQ(BuildRequest(3, 1, payload, out), 7u);
  EXPECT_EQ(Bytes(out.begin(), out.begin() + 7), (Bytes{0xF3, 0x03, 0x00, 0x01, 0x01, 0x00, 0x9C}));
  EXPECT_EQ(FrameChecksum(out.data(), 7), 0);
}

TEST(BuildRequest, AddressGoesHighByteFirst) {
  std::array<std::uint8_t, kFrameBufferSize> out{};
  ASSERT_EQ(BuildRequest(0xAB, 0x1234, {}, out), 6u);
  const Bytes head{0xF3, 0xAB, 0x12, 0x34, 0x00};
  EXPECT_EQ(Bytes(out.begin(), out.begin() + 6), WithCheck(head));
}

TEST(BuildRequest, LargestPayloadFillsTheFrameBuffer) {
  std::array<std::uint8_t, kFrameBufferSize> out{};
  Bytes payload(94);
  for (std::size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<std::uint8_t>(i * 7);
  ASSERT_EQ(BuildRequest(4, 1, payload, out), 100u);
  EXPECT_EQ(out[4], 94);
  EXPECT_EQ(Bytes(out.begin() + 5, out.begin() + 99), payload);
  EXPECT_EQ(FrameChecksum(out.data(), 100), 0);
}

TEST(BuildRequest, RefusesMoreThan94PayloadBytesAndWritesNothing) {
  std::array<std::uint8_t, kFrameBufferSize> out;
  out.fill(0x5A);
  const Bytes payload(95, 0x11);
  EXPECT_EQ(BuildRequest(4, 1, payload, out), 0u);
  for (std::uint8_t byte : out) EXPECT_EQ(byte, 0x5A);
}

TEST(ReplyAccepted, AcceptanceTable) {
  Bytes long_reply(99, 0x42);
  struct Case {
    const char* what;
    Bytes reply;
    bool accepted;
    std::size_t payload_size;
  };
  const Case cases[] = {
      {"empty", {}, false, 0},
      {"single zero byte", {0x00}, true, 0},
      {"single non-zero byte", {0x07}, false, 0},
      {"two bytes, second is the check", WithCheck({0x55}), true, 0},
      {"two bytes, bad check", {0x55, 0x00}, false, 0},
      {"three bytes, valid", WithCheck({0x01, 0x02}), true, 0},
      {"version reply", WithCheck({0xAA, 0xBB, 0x02, 0x0A}), true, 2},
      {"version reply, check off by one", {0xAA, 0xBB, 0x02, 0x0A, 0x78}, false, 2},
      {"100 bytes", WithCheck(long_reply), true, 97},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ReplyAccepted(c.reply), c.accepted);
    EXPECT_EQ(ReplyPayload(c.reply).size(), c.payload_size);
  }
}

TEST(ReplyPayload, StartsAtTheThirdByte) {
  const Bytes reply = WithCheck({0xDE, 0xAD, 0x02, 0x0A});
  const auto payload = ReplyPayload(reply);
  EXPECT_EQ(Bytes(payload.begin(), payload.end()), (Bytes{0x02, 0x0A}));
}

}  // namespace
}  // namespace zelk
