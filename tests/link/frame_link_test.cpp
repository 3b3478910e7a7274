// SPDX-License-Identifier: GPL-3.0-or-later
// FrameLink's exchange, retry, resynchronisation and port ownership, checked
// call by call against a scripted line.
#include "link/frame_link.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/scripted_line.h"

namespace zelk {
namespace {

using testing::Bytes;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::LineScript;

const Bytes kVersionRequest{0xF3, 0x03, 0x00, 0x01, 0x01, 0x00, 0x9C};

Bytes WithCheck(Bytes bytes) {
  bytes.push_back(FrameChecksum(bytes));
  return bytes;
}

// A version reply: two leading bytes nobody reads, 2.10, check byte.
const Bytes kVersionReply = WithCheck({0x5A, 0xA5, 0x02, 0x0A});

class FrameLinkTest : public ::testing::Test {
 protected:
  FrameLinkTest() : link(testing::ScriptedOpener(script)) {}

  void OpenAndForget() {
    ASSERT_EQ(link.OpenPort("ttyUSB0").error, OpenError::none);
    script->calls.clear();
  }
  // A silent module: the exchange fails and leaves resync_pending set.
  void FailOnce() {
    std::array<std::uint8_t, 2> buffer{};
    ASSERT_FALSE(link.ExchangeFrame(requests::kVersion, buffer));
    script->calls.clear();
    script->written.clear();
  }

  std::shared_ptr<LineScript> script = std::make_shared<LineScript>();
  FrameLink link;
};

TEST_F(FrameLinkTest, SilentModuleGetsTheSameRequestThreeTimes) {
  OpenAndForget();
  std::array<std::uint8_t, 2> buffer{0x00, 0xEE};
  EXPECT_FALSE(link.ExchangeFrame(requests::kVersion, buffer));
  EXPECT_THAT(script->calls, ElementsAre("line1.write", "line1.read", "line1.write", "line1.read",
                                         "line1.write", "line1.read"));
  EXPECT_THAT(script->written, ElementsAre(kVersionRequest, kVersionRequest, kVersionRequest));
  EXPECT_THAT(script->read_capacities, ElementsAre(100u, 100u, 100u));
  EXPECT_TRUE(link.resync_pending());
  EXPECT_TRUE(link.port_open());
  EXPECT_THAT(buffer, ElementsAre(0x00, 0xEE));
}

TEST_F(FrameLinkTest, ExchangeAfterAFailureReadsUntilTheLineIsQuiet) {
  OpenAndForget();
  FailOnce();
  script->Reply({0x01, 0x02, 0x03});  // the late reply to the failed exchange
  script->Reply({0x04, 0x05});        // and another
  script->Silence();                  // the line is quiet
  script->Reply(kVersionReply);
  std::array<std::uint8_t, 2> buffer{};
  EXPECT_TRUE(link.ExchangeFrame(requests::kVersion, buffer));
  EXPECT_THAT(script->calls, ElementsAre("line1.purge_output", "line1.read", "line1.read",
                                         "line1.read", "line1.write", "line1.read"));
  EXPECT_THAT(script->written, ElementsAre(kVersionRequest));
  EXPECT_THAT(buffer, ElementsAre(0x02, 0x0A));
  EXPECT_FALSE(link.resync_pending());

  // Back in step: no quiet reads any more.
  script->calls.clear();
  script->Reply(kVersionReply);
  EXPECT_TRUE(link.ExchangeFrame(requests::kVersion, buffer));
  EXPECT_THAT(script->calls, ElementsAre("line1.write", "line1.read"));
}

// A try given up on may still be answered: after a retried exchange, even a
// successful one, the next exchange first reads the late answers away.
TEST_F(FrameLinkTest, ARetriedExchangeMakesTheNextOneWaitForQuiet) {
  const Bytes kLateVersion = WithCheck({0x5A, 0xA5, 0x02, 0x0A});
  OpenAndForget();
  script->Silence();
  script->Reply(kVersionReply);  // the answer to the first try, late
  std::array<std::uint8_t, 2> version{};
  ASSERT_TRUE(link.ExchangeFrame(requests::kVersion, version));
  EXPECT_TRUE(link.resync_pending());

  script->calls.clear();
  script->written.clear();
  script->Reply(kLateVersion);  // the answer to the second try, later still
  script->Silence();
  Bytes block_reply{0x5A, 0xA5};
  for (int i = 0; i < 25; ++i) block_reply.push_back(static_cast<std::uint8_t>(0x40 + i));
  script->Reply(WithCheck(block_reply));
  std::array<std::uint8_t, 25> block{};
  ASSERT_TRUE(link.ExchangeFrame(requests::kReadSettings, block));
  EXPECT_THAT(script->calls, ElementsAre("line1.purge_output", "line1.read", "line1.read",
                                         "line1.write", "line1.read"));
  EXPECT_EQ(block[0], 0x40);
  EXPECT_EQ(block[24], 0x40 + 24);
  EXPECT_FALSE(link.resync_pending());
}

// A line that will not fall quiet: the request is never sent, as whatever
// came next would be taken for its answer; the next exchange tries again.
TEST_F(FrameLinkTest, ALineThatNeverFallsQuietSendsNothing) {
  OpenAndForget();
  FailOnce();
  for (int i = 0; i < kQuietReads; ++i) script->Reply({0x55, 0xAA});
  std::array<std::uint8_t, 2> buffer{0x12, 0x34};
  EXPECT_FALSE(link.ExchangeFrame(requests::kVersion, buffer));
  EXPECT_EQ(link.last_failure(), ExchangeFailure::noisy_line);
  EXPECT_THAT(script->written, IsEmpty());
  EXPECT_EQ(script->calls.size(), 1u + kQuietReads);
  EXPECT_THAT(buffer, ElementsAre(0x12, 0x34));
  EXPECT_TRUE(link.resync_pending());
  EXPECT_TRUE(link.port_open());

  script->calls.clear();
  script->Silence();
  script->Reply(kVersionReply);
  EXPECT_TRUE(link.ExchangeFrame(requests::kVersion, buffer));
  EXPECT_THAT(script->calls,
              ElementsAre("line1.purge_output", "line1.read", "line1.write", "line1.read"));
  EXPECT_THAT(buffer, ElementsAre(0x02, 0x0A));
}

TEST_F(FrameLinkTest, ResyncSurvivesReopeningThePort) {
  OpenAndForget();
  FailOnce();
  EXPECT_TRUE(link.ClosePort());
  ASSERT_EQ(link.OpenPort("ttyUSB1").error, OpenError::none);
  EXPECT_TRUE(link.resync_pending());
  script->calls.clear();
  script->Silence();
  script->Reply(kVersionReply);
  std::array<std::uint8_t, 2> buffer{};
  EXPECT_TRUE(link.ExchangeFrame(requests::kVersion, buffer));
  EXPECT_THAT(script->calls,
              ElementsAre("line2.purge_output", "line2.read", "line2.write", "line2.read"));
}

TEST_F(FrameLinkTest, BadCheckPurgesAndLeavesTheBufferAlone) {
  OpenAndForget();
  Bytes reply = kVersionReply;
  reply.back() ^= 0x01;
  script->Reply(reply);
  std::array<std::uint8_t, 2> buffer{0x77, 0x66};
  EXPECT_FALSE(link.ExchangeFrame(requests::kVersion, buffer));
  EXPECT_THAT(script->calls, ElementsAre("line1.write", "line1.read", "line1.purge_output"));
  EXPECT_THAT(buffer, ElementsAre(0x77, 0x66));
  EXPECT_TRUE(link.resync_pending());
  EXPECT_TRUE(link.port_open());
  EXPECT_EQ(link.last_payload_size(), 0u);
}

TEST_F(FrameLinkTest, SecondTryThatIsAnsweredSucceeds) {
  OpenAndForget();
  script->Silence();
  script->Reply(kVersionReply);
  std::array<std::uint8_t, 2> buffer{};
  EXPECT_TRUE(link.ExchangeFrame(requests::kVersion, buffer));
  EXPECT_THAT(script->written, ElementsAre(kVersionRequest, kVersionRequest));
  EXPECT_THAT(buffer, ElementsAre(0x02, 0x0A));
  EXPECT_EQ(link.last_payload_size(), 2u);
}

// A request's check byte makes its echo a well-formed frame: an echoing line
// must not pass for a module.
TEST_F(FrameLinkTest, AnEchoOfTheRequestIsNoReply) {
  OpenAndForget();
  for (int i = 0; i < kExchangeTries; ++i) script->Reply(kVersionRequest);
  std::array<std::uint8_t, 2> buffer{0x00, 0xEE};
  EXPECT_FALSE(link.ExchangeFrame(requests::kVersion, buffer));
  EXPECT_THAT(script->written, ElementsAre(kVersionRequest, kVersionRequest, kVersionRequest));
  EXPECT_TRUE(link.resync_pending());
  EXPECT_THAT(buffer, ElementsAre(0x00, 0xEE));

  // An echo, then the module's answer on the next try, is an answer.
  script->Reply(kVersionRequest);  // read while the line is made quiet
  script->Silence();
  script->Reply(kVersionRequest);
  script->Reply(kVersionReply);
  EXPECT_TRUE(link.ExchangeFrame(requests::kVersion, buffer));
  EXPECT_THAT(buffer, ElementsAre(0x02, 0x0A));

  // A reply that only starts like the request is judged by its check byte
  // (and its length: it carries the two bytes a version needs).
  Bytes longer = kVersionRequest;
  longer.push_back(0x00);
  script->Silence();  // the echo made it a retried exchange
  script->Reply(longer);
  EXPECT_TRUE(link.ExchangeFrame(requests::kVersion, buffer));
}

TEST_F(FrameLinkTest, RequestCarriesTheFirstCountBytesOfTheBuffer) {
  OpenAndForget();
  std::array<std::uint8_t, 25> block{};
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(0xC0 + i);
  script->Reply(WithCheck({0, 0}));
  EXPECT_TRUE(link.ExchangeFrame(requests::kWriteSettings, block));
  ASSERT_EQ(script->written.size(), 1u);
  Bytes expected{0xF3, 0x04, 0x00, 0x01, 25};
  expected.insert(expected.end(), block.begin(), block.end());
  EXPECT_EQ(script->written[0], WithCheck(expected));
}

// A request given by hand (the diagnostic exchange) takes replies of every
// short length the check byte allows, and copies only their payload (the rest
// of the buffer must stay as it was).
TEST_F(FrameLinkTest, AHandMadeRequestTakesShortRepliesAndCopiesOnlyTheirPayload) {
  struct Case {
    const char* what;
    Bytes reply;
    Bytes buffer_after;
  };
  const Case cases[] = {
      {"one zero byte", {0x00}, {0xEE, 0xEE, 0xEE}},
      {"two bytes", WithCheck({0x31}), {0xEE, 0xEE, 0xEE}},
      {"three bytes", WithCheck({0x31, 0x32}), {0xEE, 0xEE, 0xEE}},
      {"one payload byte", WithCheck({0x31, 0x32, 0x07}), {0x07, 0xEE, 0xEE}},
      {"two payload bytes", WithCheck({0x31, 0x32, 0x01, 0x00}), {0x01, 0x00, 0xEE}},
  };
  OpenAndForget();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    script->Reply(c.reply);
    std::array<std::uint8_t, 3> buffer{0xEE, 0xEE, 0xEE};
    EXPECT_TRUE(link.ExchangeFrame(3, 1, 1, buffer));
    EXPECT_EQ(Bytes(buffer.begin(), buffer.end()), c.buffer_after);
    EXPECT_EQ(link.last_payload_size(), c.reply.size() > 3 ? c.reply.size() - 3 : 0);
    EXPECT_FALSE(link.resync_pending());
  }
}

TEST_F(FrameLinkTest, OversizeReplyStopsAtTheCallersBuffer) {
  OpenAndForget();
  Bytes reply{0x00, 0x00};
  for (int i = 0; i < 97; ++i) reply.push_back(static_cast<std::uint8_t>(i + 1));
  script->Reply(WithCheck(reply));
  ASSERT_EQ(reply.size() + 1, 100u);

  // Ten bytes for the caller between guard bytes that must survive.
  std::array<std::uint8_t, 30> guarded;
  guarded.fill(0xCC);
  std::span<std::uint8_t> buffer(guarded.data() + 10, 10);
  EXPECT_TRUE(link.ExchangeFrame(requests::kPollBlock, buffer));
  for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(buffer[i], i + 1);
  for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(guarded[i], 0xCC);
  for (std::size_t i = 20; i < 30; ++i) EXPECT_EQ(guarded[i], 0xCC);
  EXPECT_EQ(link.last_payload_size(), 10u);
}

TEST_F(FrameLinkTest, DeviceGoneClosesThePortAndLaterExchangesDoNothing) {
  OpenAndForget();
  script->Fail(LineError::device_gone);
  script->Fail(LineError::device_gone);
  script->Fail(LineError::device_gone);
  std::array<std::uint8_t, 2> buffer{0x12, 0x34};
  EXPECT_FALSE(link.ExchangeFrame(requests::kVersion, buffer));
  EXPECT_THAT(script->calls,
              ElementsAre("line1.write", "line1.read", "line1.write", "line1.read", "line1.write",
                          "line1.read", "line1.purge_input", "line1.close"));
  EXPECT_FALSE(link.port_open());
  EXPECT_FALSE(link.resync_pending());
  EXPECT_THAT(buffer, ElementsAre(0x12, 0x34));

  script->calls.clear();
  EXPECT_FALSE(link.ExchangeFrame(requests::kVersion, buffer));
  EXPECT_FALSE(link.ClosePort());
  EXPECT_THAT(script->calls, IsEmpty());
}

TEST_F(FrameLinkTest, DeviceGoneKeepsAPendingResync) {
  OpenAndForget();
  FailOnce();
  for (int i = 0; i < 4; ++i) script->Fail(LineError::device_gone);
  std::array<std::uint8_t, 2> buffer{};
  EXPECT_FALSE(link.ExchangeFrame(requests::kVersion, buffer));
  EXPECT_FALSE(link.port_open());
  EXPECT_TRUE(link.resync_pending());
}

TEST_F(FrameLinkTest, DeviceGoneWithBytesStillClosesThePort) {
  OpenAndForget();
  script->reads.push_back({kVersionReply, LineError::device_gone});
  std::array<std::uint8_t, 2> buffer{0x12, 0x34};
  EXPECT_FALSE(link.ExchangeFrame(requests::kVersion, buffer));
  EXPECT_FALSE(link.port_open());
  EXPECT_THAT(buffer, ElementsAre(0x12, 0x34));
}

// Only the error of the last failing call counts.
TEST_F(FrameLinkTest, LastFailingCallDecidesWhetherTheDeviceIsGone) {
  struct Case {
    const char* what;
    std::vector<LineError> write_errors;
    std::vector<testing::ScriptedIo> reads;
    bool port_open_after;
  };
  const auto gone = LineError::device_gone;
  const auto other = LineError::other;
  const Case cases[] = {
      {"write gone, reads silent", {gone}, {}, false},
      {"read gone, then silent", {}, {{{}, gone}}, false},
      {"read gone, later read fails otherwise", {}, {{{}, gone}, {{}, other}}, true},
      {"other errors only", {other, other, other}, {{{}, other}}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto script = std::make_shared<LineScript>();
    FrameLink fresh(testing::ScriptedOpener(script));
    ASSERT_EQ(fresh.OpenPort("x").error, OpenError::none);
    script->write_errors.assign(c.write_errors.begin(), c.write_errors.end());
    script->reads.assign(c.reads.begin(), c.reads.end());
    std::array<std::uint8_t, 2> buffer{};
    EXPECT_FALSE(fresh.ExchangeFrame(requests::kVersion, buffer));
    EXPECT_EQ(fresh.port_open(), c.port_open_after);
    EXPECT_EQ(script->written.size(), 3u);
  }
}

TEST_F(FrameLinkTest, ExchangeWithNoPortTouchesNothing) {
  std::array<std::uint8_t, 2> buffer{0xAB, 0xCD};
  EXPECT_FALSE(link.ExchangeFrame(requests::kVersion, buffer));
  EXPECT_THAT(script->calls, IsEmpty());
  EXPECT_THAT(buffer, ElementsAre(0xAB, 0xCD));
  EXPECT_FALSE(link.resync_pending());
}

TEST_F(FrameLinkTest, CallerErrorsAreRefusedWithoutIo) {
  OpenAndForget();
  std::array<std::uint8_t, 100> big{};
  std::array<std::uint8_t, 4> small{};
  EXPECT_FALSE(link.ExchangeFrame(4, 1, 95, big));   // frame would exceed 100 bytes
  EXPECT_FALSE(link.ExchangeFrame(4, 1, 5, small));  // payload beyond the buffer
  EXPECT_THAT(script->calls, IsEmpty());
  EXPECT_FALSE(link.resync_pending());

  script->Reply(WithCheck({0, 0}));
  EXPECT_TRUE(link.ExchangeFrame(4, 1, 94, big));
  ASSERT_EQ(script->written.size(), 1u);
  EXPECT_EQ(script->written[0].size(), 100u);
}

TEST_F(FrameLinkTest, ClosePortWithNoneOpenMakesNoCall) {
  EXPECT_FALSE(link.ClosePort());
  EXPECT_THAT(script->calls, IsEmpty());
}

TEST_F(FrameLinkTest, ClosePortPurgesInputThenCloses) {
  OpenAndForget();
  EXPECT_TRUE(link.ClosePort());
  EXPECT_THAT(script->calls, ElementsAre("line1.purge_input", "line1.close"));
  EXPECT_FALSE(link.port_open());
  EXPECT_FALSE(link.ClosePort());
}

TEST_F(FrameLinkTest, OpenPortWhileOpenClosesTheOldLineFirst) {
  ASSERT_EQ(link.OpenPort("ttyUSB0").error, OpenError::none);
  const OpenResult second = link.OpenPort("ttyACM0");
  EXPECT_EQ(second.error, OpenError::none);
  EXPECT_EQ(second.line, nullptr);  // the link keeps the line
  EXPECT_THAT(script->calls,
              ElementsAre("open ttyUSB0", "line1.purge_input", "line1.close", "open ttyACM0"));
  EXPECT_TRUE(link.port_open());

  script->calls.clear();
  script->Reply(kVersionReply);
  std::array<std::uint8_t, 2> buffer{};
  EXPECT_TRUE(link.ExchangeFrame(requests::kVersion, buffer));
  EXPECT_THAT(script->calls, ElementsAre("line2.write", "line2.read"));
}

TEST_F(FrameLinkTest, FailedOpenLeavesThePortClosedAndSaysWhy) {
  ASSERT_EQ(link.OpenPort("ttyUSB0").error, OpenError::none);
  script->fail_open = OpenError::busy;
  const OpenResult result = link.OpenPort("ttyUSB1");
  EXPECT_EQ(result.error, OpenError::busy);
  EXPECT_EQ(result.detail, "scripted failure");
  EXPECT_FALSE(link.port_open());
  EXPECT_THAT(script->calls,
              ElementsAre("open ttyUSB0", "line1.purge_input", "line1.close", "open ttyUSB1"));

  script->calls.clear();
  std::array<std::uint8_t, 2> buffer{};
  EXPECT_FALSE(link.ExchangeFrame(requests::kVersion, buffer));
  EXPECT_THAT(script->calls, IsEmpty());
}

TEST_F(FrameLinkTest, OpenerWithoutALineCountsAsFailure) {
  FrameLink odd([](const std::string&) { return OpenResult{}; });
  EXPECT_NE(odd.OpenPort("x").error, OpenError::none);
  EXPECT_FALSE(odd.port_open());
}

TEST_F(FrameLinkTest, DestructorClosesTheLine) {
  auto script = std::make_shared<LineScript>();
  {
    FrameLink scoped(testing::ScriptedOpener(script));
    ASSERT_EQ(scoped.OpenPort("x").error, OpenError::none);
  }
  EXPECT_THAT(script->calls, ElementsAre("open x", "line1.purge_input", "line1.close"));
}

TEST_F(FrameLinkTest, TraceSeesFramesSentAndBlocksRead) {
  OpenAndForget();
  FailOnce();
  std::vector<std::pair<TraceDirection, Bytes>> seen;
  link.SetTrace([&](TraceDirection direction, std::span<const std::uint8_t> bytes) {
    seen.emplace_back(direction, Bytes(bytes.begin(), bytes.end()));
  });
  script->Reply({0x09});  // read while the line is made quiet
  script->Silence();
  script->Silence();
  script->Reply(kVersionReply);
  std::array<std::uint8_t, 2> buffer{};
  EXPECT_TRUE(link.ExchangeFrame(requests::kVersion, buffer));
  using D = TraceDirection;
  EXPECT_THAT(
      seen,
      ElementsAre(std::pair{D::received, Bytes{0x09}}, std::pair{D::sent, kVersionRequest},
                  std::pair{D::sent, kVersionRequest}, std::pair{D::received, kVersionReply}));
}

}  // namespace
}  // namespace zelk
