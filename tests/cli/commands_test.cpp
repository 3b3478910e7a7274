// SPDX-License-Identifier: GPL-3.0-or-later
// The zelkctl commands run in-process over a scripted line: what they print
// for each outcome of the exchange, and their exit codes.
#include "cli/commands.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "cli/hex_text.h"
#include "cli/trace_printer.h"
#include "session/program_version.h"
#include "support/scripted_line.h"

namespace zelk::cli {
namespace {

using zelk::testing::Bytes;
using zelk::testing::LineScript;

Bytes WithCheck(Bytes bytes) {
  bytes.push_back(FrameChecksum(bytes));
  return bytes;
}

class CommandsTest : public ::testing::Test {
 protected:
  CommandsTest() : link(zelk::testing::ScriptedOpener(script)) {}
  void SetUp() override { ASSERT_TRUE(OpenPortOrSay(link, "SIM", err)); }

  std::shared_ptr<LineScript> script = std::make_shared<LineScript>();
  Session link;
  std::ostringstream out;
  std::ostringstream err;
};

TEST_F(CommandsTest, VersionPrintsMajorDotMinor) {
  script->Reply(WithCheck({0, 0, 2, 10}));
  EXPECT_EQ(RunVersion(link, out, err), kExitOk);
  EXPECT_EQ(out.str(), "2.10\n");
  EXPECT_EQ(err.str(), "");
  ASSERT_EQ(script->written.size(), 1u);
  EXPECT_EQ(script->written[0], (Bytes{0xF3, 0x03, 0x00, 0x01, 0x01, 0x00, 0x9C}));
}

TEST_F(CommandsTest, VersionOutcomes) {
  struct Case {
    const char* what;
    std::vector<Bytes> replies;  // one per try
    int exit_code;
    std::string out;
    std::string err;
  };
  const Case cases[] = {
      {"extra payload bytes ignored", {WithCheck({0, 0, 1, 0, 9, 9})}, kExitOk, "1.0\n", ""},
      {"minor missing", {WithCheck({0, 0, 3})}, kExitCommunication, "", "Communication Fail\n"},
      {"no version bytes", {WithCheck({0, 0})}, kExitCommunication, "", "Communication Fail\n"},
      {"a single zero byte", {{0x00}}, kExitCommunication, "", "Communication Fail\n"},
      {"silent", {}, kExitCommunication, "", "Communication Fail\n"},
      {"bad check", {{0, 0, 2, 10, 0}}, kExitCommunication, "", "Communication Fail\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto script = std::make_shared<LineScript>();
    Session fresh(zelk::testing::ScriptedOpener(script));
    ASSERT_TRUE(OpenPortOrSay(fresh, "SIM", err));
    for (const Bytes& reply : c.replies) script->Reply(reply);
    std::ostringstream out, err;
    EXPECT_EQ(RunVersion(fresh, out, err), c.exit_code);
    EXPECT_EQ(out.str(), c.out);
    EXPECT_NE(err.str().find(c.err), std::string::npos) << err.str();
  }
}

TEST_F(CommandsTest, RawPrintsEachReplyAndKeepsGoing) {
  script->Reply(WithCheck({0, 0, 2, 10}));    // line 2: version
  script->Reply(WithCheck({0, 0}));           // line 3: write, no payload
  script->Reply({0x00, 0x00, 0x01, 0xFF});    // line 5: bad check
  script->Silence();                          // line 6: the drain finds nothing
  script->Reply(WithCheck(Bytes(99, 0xAB)));  // line 6: 97 payload bytes
  std::istringstream in(
      "# version, then a write\n"
      "3 1 1\n"
      "4 3 1 1f\n"
      "9 9\n"
      "0 0x43 10\n"
      "1 1 25\n"
      "\n");
  EXPECT_EQ(RunRaw(link, in, out, err), kExitCommunication);
  std::string long_payload;
  for (int i = 0; i < 97; ++i) long_payload += "ab";
  EXPECT_EQ(out.str(), "ok 020a\nok\nfail\nok " + long_payload + "\n");
  EXPECT_NE(err.str().find("line 4: expected COMMAND ADDRESS COUNT"), std::string::npos)
      << err.str();
  EXPECT_NE(err.str().find("Communication Fail"), std::string::npos);
  ASSERT_EQ(script->written.size(), 4u);
  EXPECT_EQ(script->written[1], WithCheck({0xF3, 0x04, 0x00, 0x03, 0x01, 0x1F}));
  // The failure of line 5 makes line 6 drain the line first.
  EXPECT_EQ(script->calls.back(), "line1.read");
  EXPECT_EQ(script->calls[script->calls.size() - 4], "line1.purge_output");
}

TEST_F(CommandsTest, RawExitCodes) {
  struct Case {
    const char* input;
    int replies;
    int exit_code;
  };
  const Case cases[] = {
      {"3 1 1\n", 1, kExitOk},
      {"", 0, kExitOk},
      {"3 1 1\n3 1 x\n", 1, kExitUsage},
      {"3 1 1\n3 1 x\n3 1 1\n", 1, kExitCommunication},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    auto script = std::make_shared<LineScript>();
    Session fresh(zelk::testing::ScriptedOpener(script));
    ASSERT_TRUE(OpenPortOrSay(fresh, "SIM", err));
    for (int i = 0; i < c.replies; ++i) script->Reply(WithCheck({0, 0, 2, 10}));
    std::istringstream in(c.input);
    std::ostringstream out, err;
    EXPECT_EQ(RunRaw(fresh, in, out, err), c.exit_code);
  }
}

TEST_F(CommandsTest, RawStopsAtTheFirstRequestAfterTheDeviceVanished) {
  for (int i = 0; i < 3; ++i) script->Fail(LineError::device_gone);
  std::string input = "3 1 1\n# a comment\n\n";
  for (int i = 0; i < 1000; ++i) input += "3 1 1\n";
  std::istringstream in(input);
  EXPECT_EQ(RunRaw(link, in, out, err), kExitCommunication);
  EXPECT_EQ(out.str(), "fail\n");
  EXPECT_EQ(script->written.size(), 3u);  // nothing for the later lines
  EXPECT_NE(err.str().find("line 4: the port was closed by a device error; stopped"),
            std::string::npos)
      << err.str();
  EXPECT_LT(in.tellg(), static_cast<std::streamoff>(input.size())) << "the rest is not read";
}

// An input line is never held whole, and what is quoted from it is short and
// cannot drive the terminal.
TEST_F(CommandsTest, RawRefusesLongLinesAndQuotesSafely) {
  script->Reply(WithCheck({0, 0, 2, 10}));
  const std::string huge(kMaxRawLine + 1, '7');
  std::istringstream in(huge + "\n" + std::string(kMaxRawLine, ' ') + "\n" +
                        "3 1 1 zz\x1b]0;owned\x07\n3 1 1\n");
  EXPECT_EQ(RunRaw(link, in, out, err), kExitUsage);
  EXPECT_EQ(out.str(), "ok 020a\n");
  const std::string said = err.str();
  EXPECT_NE(said.find("line 1: line too long (skipped)"), std::string::npos) << said;
  EXPECT_EQ(said.find("line 2"), std::string::npos) << "a line of blanks at the limit is blank";
  EXPECT_NE(said.find("payload 'zz\\x1b]0;owned\\x07' is not hex digit pairs"), std::string::npos)
      << said;
  for (const char c : said) EXPECT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7F)) << int(c);
}

TEST(ProgramVersion, IsTheProjectVersion) {
  std::ostringstream out;
  EXPECT_EQ(RunProgramVersion(out), kExitOk);
  EXPECT_EQ(out.str(), std::string(kProgramVersion) + "\n");
  // Filled in from the project's version: four numbers, nothing left unfilled.
  EXPECT_TRUE(std::regex_match(out.str(), std::regex(R"(\d+\.\d+\.\d+\.\d+\n)"))) << out.str();
}

TEST(OpenPortOrSay, NamesThePortAndTheReason) {
  auto script = std::make_shared<LineScript>();
  script->fail_open = OpenError::busy;
  Session link(zelk::testing::ScriptedOpener(script));
  std::ostringstream err;
  EXPECT_FALSE(OpenPortOrSay(link, "ttyUSB3", err));
  EXPECT_EQ(err.str(), "Invalid COMM Port: ttyUSB3: the port is in use by another program\n");
}

TEST(HexText, Excerpt) {
  EXPECT_EQ(Excerpt("short"), "short");
  EXPECT_EQ(Excerpt(std::string(100, 'a')), std::string(40, 'a') + "...");
}

TEST(OpenPortOrSay, QuotesControlBytesOfThePortName) {
  auto script = std::make_shared<LineScript>();
  script->fail_open = OpenError::not_found;
  Session link(zelk::testing::ScriptedOpener(script));
  std::ostringstream err;
  EXPECT_FALSE(OpenPortOrSay(link, "/dev/x\x1b]2;t\x07", err));
  EXPECT_EQ(err.str(), "Invalid COMM Port: /dev/x\\x1b]2;t\\x07: no such port\n");
}

TEST(HexText, PairsAndSpaced) {
  const Bytes bytes{0x02, 0x0A, 0xFF, 0x00};
  EXPECT_EQ(HexPairs(bytes), "020aff00");
  EXPECT_EQ(SpacedHex(bytes), "02 0a ff 00");
  EXPECT_EQ(HexPairs({}), "");
  EXPECT_EQ(SpacedHex({}), "");
}

TEST(TraceLine, StampDirectionAndBytes) {
  const Bytes frame{0xF3, 0x03, 0x00, 0x01, 0x01, 0x00, 0x9C};
  EXPECT_EQ(TraceLine(12.3456, TraceDirection::sent, frame),
            "    12.346 ms > f3 03 00 01 01 00 9c");
  EXPECT_EQ(TraceLine(0, TraceDirection::received, Bytes{0x00}), "     0.000 ms < 00");
}

}  // namespace
}  // namespace zelk::cli
