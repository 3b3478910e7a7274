// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/request_parser.h"

#include <gtest/gtest.h>

#include "sim_test_util.h"

namespace zelk::sim {
namespace {

using testing::Bytes;
using testing::RequestBytes;

// Feeds the bytes 0.52 ms apart from `start_ms` and returns every request found.
std::vector<Request> FeedAll(RequestParser& parser, const Bytes& bytes, double start_ms = 0) {
  std::vector<Request> found;
  double t = start_ms;
  for (const std::uint8_t b : bytes) {
    t += 0.52;
    if (auto request = parser.Feed(b, t)) found.push_back(*request);
  }
  return found;
}

TEST(RequestParser, ParsesTheVersionRequestByteExact) {
  RequestParser parser;
  const auto found = FeedAll(parser, {0xF3, 0x03, 0x00, 0x01, 0x01, 0x00, 0x9C});
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].command, 3);
  EXPECT_EQ(found[0].address, 1);
  EXPECT_EQ(found[0].payload, Bytes{0x00});
}

TEST(RequestParser, AddressIsHighByteFirstAndPayloadIsKept) {
  RequestParser parser;
  const Bytes payload{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  const auto found = FeedAll(parser, RequestBytes(0, 0x1234, payload));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].address, 0x1234);
  EXPECT_EQ(found[0].payload, payload);
}

TEST(RequestParser, EmptyPayloadFrameOfSixBytes) {
  RequestParser parser;
  const auto found = FeedAll(parser, RequestBytes(13, 1, {}));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_TRUE(found[0].payload.empty());
}

struct NoiseCase {
  const char* name;
  Bytes before;  // what precedes a valid version request on the line
};

class RequestParserResync : public ::testing::TestWithParam<NoiseCase> {};

TEST_P(RequestParserResync, FindsTheRequestBehindTheNoise) {
  RequestParser parser;
  Bytes stream = GetParam().before;
  const Bytes request = RequestBytes(3, 1, {0});
  stream.insert(stream.end(), request.begin(), request.end());
  const auto found = FeedAll(parser, stream);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].command, 3);
  EXPECT_EQ(found[0].payload, Bytes{0});
}

INSTANTIATE_TEST_SUITE_P(
    Noise, RequestParserResync,
    ::testing::Values(NoiseCase{"plain_garbage", {0x00, 0xFF, 0x55}},
                      NoiseCase{"stray_start_byte", {0xF3}},
                      NoiseCase{"start_and_header", {0xF3, 0x01, 0x00}},
                      // A count beyond the module's buffer cannot start a frame.
                      NoiseCase{"impossible_count", {0xF3, 0x01, 0x00, 0x01, 0xFF}},
                      // A whole frame with a wrong check byte is dropped.
                      NoiseCase{"bad_check_frame", {0xF3, 0x03, 0x00, 0x01, 0x01, 0x00, 0x9D}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RequestParser, BadCheckByteIsDropped) {
  RequestParser parser;
  Bytes request = RequestBytes(1, 1, Bytes(25, 0));
  request.back() ^= 0x01;
  EXPECT_TRUE(FeedAll(parser, request).empty());
}

TEST(RequestParser, RequestSplitAcrossFeedsWithShortGap) {
  RequestParser parser;
  const Bytes request = RequestBytes(4, 3, {0x20});
  const Bytes head(request.begin(), request.begin() + 3);
  const Bytes tail(request.begin() + 3, request.end());
  EXPECT_TRUE(FeedAll(parser, head, 0).empty());
  const auto found = FeedAll(parser, tail, 40);  // 40 ms later: still the same frame
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].command, 4);
  EXPECT_EQ(found[0].address, 3);
}

TEST(RequestParser, PartialFrameIsDroppedAfterALongGap) {
  RequestParser parser;
  const Bytes request = RequestBytes(3, 1, {0});
  // The start of a settings write, then silence, then a full version request.
  EXPECT_TRUE(FeedAll(parser, {0xF3, 0x04, 0x00}, 0).empty());
  const auto found = FeedAll(parser, request, 100);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].command, 3);
}

TEST(RequestParser, BackToBackRequestsAreBothFound) {
  RequestParser parser;
  Bytes stream = RequestBytes(3, 1, {0});
  const Bytes second = RequestBytes(0, 0x64, {0, 0});
  stream.insert(stream.end(), second.begin(), second.end());
  const auto found = FeedAll(parser, stream);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[1].address, 0x64);
}

}  // namespace
}  // namespace zelk::sim
