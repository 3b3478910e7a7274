// SPDX-License-Identifier: GPL-3.0-or-later
// Replies that pass their check byte but stop before the bytes a request's
// callers read: every request of the table, against a scripted line.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "link/frame_link.h"
#include "link/requests.h"
#include "support/scripted_line.h"

namespace zelk {
namespace {

using testing::Bytes;
using ::testing::ElementsAre;
using testing::LineScript;

// A well-formed reply carrying `payload` bytes (0x40, 0x41, ...).
Bytes ReplyWith(std::size_t payload) {
  Bytes reply{0xF3, 0x00};
  for (std::size_t i = 0; i < payload; ++i) reply.push_back(static_cast<std::uint8_t>(0x40 + i));
  reply.push_back(FrameChecksum(reply));
  return reply;
}

struct TableRow {
  const char* name;
  RequestSpec request;
  std::size_t needed;  // payload bytes the callers read
};

const TableRow kTable[] = {
    {"poll block", requests::kPollBlock, 10},
    {"instant block", requests::kInstantBlock, 10},
    {"program status", requests::kProgramStatus, 2},
    {"read settings", requests::kReadSettings, 25},
    {"version", requests::kVersion, 2},
    {"write settings", requests::kWriteSettings, 0},
    {"write mixture", requests::kWriteMixture, 0},
    {"program control", requests::kProgramControl, 0},
};

class ShortReplyTest : public ::testing::Test {
 protected:
  ShortReplyTest() : link(testing::ScriptedOpener(script)) {
    EXPECT_EQ(link.OpenPort("ttyUSB0").error, OpenError::none);
    script->calls.clear();
  }

  std::shared_ptr<LineScript> script = std::make_shared<LineScript>();
  FrameLink link;
};

TEST_F(ShortReplyTest, EveryRequestNamesThePayloadItsCallersRead) {
  for (const TableRow& row : kTable) {
    EXPECT_EQ(row.request.reply_count, row.needed) << row.name;
  }
}

// 0, 1, 2 and needed - 1 payload bytes fail as a bad check byte does:
// nothing copied, the output purged, the next exchange waits for quiet.
TEST_F(ShortReplyTest, AReplyShortOfWhatTheRequestNeedsIsRefused) {
  for (const TableRow& row : kTable) {
    if (row.needed == 0) continue;
    const std::set<std::size_t> lengths{0, 1, 2, row.needed - 1};
    for (const std::size_t payload : lengths) {
      if (payload >= row.needed) continue;
      SCOPED_TRACE(std::string(row.name) + ", payload bytes: " + std::to_string(payload));
      auto script = std::make_shared<LineScript>();
      FrameLink fresh(testing::ScriptedOpener(script));
      ASSERT_EQ(fresh.OpenPort("x").error, OpenError::none);
      script->calls.clear();
      script->Reply(ReplyWith(payload));
      std::vector<std::uint8_t> buffer(row.needed, 0xCC);
      EXPECT_FALSE(fresh.ExchangeFrame(row.request, buffer));
      EXPECT_EQ(fresh.last_failure(), ExchangeFailure::short_reply);
      EXPECT_EQ(fresh.last_payload_size(), 0u);
      EXPECT_EQ(buffer, std::vector<std::uint8_t>(row.needed, 0xCC));
      EXPECT_THAT(script->calls, ElementsAre("line1.write", "line1.read", "line1.purge_output"));
      EXPECT_TRUE(fresh.resync_pending());
    }
  }
}

TEST_F(ShortReplyTest, AReplyWithWhatTheRequestNeedsIsTaken) {
  for (const TableRow& row : kTable) {
    SCOPED_TRACE(row.name);
    script->Reply(ReplyWith(row.needed));
    std::vector<std::uint8_t> buffer(std::max<std::size_t>(row.request.count, row.needed), 0xCC);
    EXPECT_TRUE(link.ExchangeFrame(row.request, buffer));
    EXPECT_EQ(link.last_payload_size(), row.needed);
    if (row.needed > 0) {
      EXPECT_EQ(buffer[row.needed - 1], 0x40 + row.needed - 1);
    }
    EXPECT_FALSE(link.resync_pending());
  }
}

// What a line break or an adapter being plugged in reads as, and a frame of
// its two leading bytes and check byte alone: both pass the CRC-8.
TEST_F(ShortReplyTest, AZeroByteAndAnEmptyFrameAreNoVersionAndNoBlock) {
  const Bytes replies[] = {{0x00}, ReplyWith(0)};
  for (const Bytes& reply : replies) {
    for (const RequestSpec& request : {requests::kVersion, requests::kReadSettings}) {
      script->Reply(reply);
      std::array<std::uint8_t, 25> buffer;
      buffer.fill(0xCC);
      EXPECT_FALSE(link.ExchangeFrame(request, buffer));
      EXPECT_EQ(link.last_failure(), ExchangeFailure::short_reply);
      EXPECT_EQ(buffer[0], 0xCC);
      script->Silence();  // the line is quiet before the next one
    }
  }
  // An acknowledgement carries nothing: the same frames answer a write.
  for (const Bytes& reply : replies) {
    script->Reply(reply);
    std::array<std::uint8_t, 1> mixture{17};
    EXPECT_TRUE(link.ExchangeFrame(requests::kWriteMixture, mixture));
    EXPECT_EQ(mixture[0], 17);
  }
}

TEST_F(ShortReplyTest, ABufferTooSmallForTheReplyIsRefusedWithoutIo) {
  std::array<std::uint8_t, 1> one{};
  EXPECT_FALSE(link.ExchangeFrame(requests::kVersion, one));
  EXPECT_EQ(link.last_failure(), ExchangeFailure::bad_request);
  EXPECT_TRUE(script->calls.empty());
}

}  // namespace
}  // namespace zelk
