// SPDX-License-Identifier: GPL-3.0-or-later
// zelkctl detect and version --json on simulated modules: the text and the
// JSON of each kind of port, the exit status, and the operands refused.

#include "cli/detect_command.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>

#include "cli/commands.h"
#include "sim/simulated_line.h"

namespace zelk::cli {
namespace {

// One simulated module per port name; each search thread uses its own.
class SimulatedPorts {
 public:
  sim::SimulatedPort& Add(const std::string& name) {
    auto& port = ports_[name];
    port = std::make_unique<sim::SimulatedPort>(sim::EngineModelSettings{}, name);
    return *port;
  }
  LineOpener Opener() {
    std::map<std::string, LineOpener> openers;
    for (auto& [name, port] : ports_) openers[name] = port->Opener();
    return [openers](const std::string& name) {
      if (name == "ttyDENIED") {
        return OpenResult{nullptr, OpenError::permission_denied, "Permission denied"};
      }
      const auto found = openers.find(name);
      if (found == openers.end()) return OpenResult{nullptr, OpenError::not_found, "missing"};
      return found->second(name);
    };
  }

 private:
  std::map<std::string, std::unique_ptr<sim::SimulatedPort>> ports_;
};

class Detect : public ::testing::Test {
 protected:
  void SetUp() override {
    ports_.Add("ttyS0").module().faults().silent = true;
    ports_.Add("ttyUSB0").module().version() = {3, 4};
    ports_.Add("ttyUSB1").module().faults().bad_check = true;
    ports_.Add("ttyACM0").busy = true;
    ports_.Add("ttyUSB2").module().faults().short_reply = true;
  }
  int Run(const std::vector<std::string>& ports, bool json) {
    return RunDetect(ports, json, ports_.Opener(), {}, out_, err_);
  }

  SimulatedPorts ports_;
  std::ostringstream out_, err_;
};

TEST_F(Detect, OneLinePerPortInTheGivenOrder) {
  EXPECT_EQ(Run({"ttyS0", "ttyUSB0", "ttyUSB1", "ttyACM0", "ttyDENIED", "ttyX"}, false), kExitOk);
  EXPECT_EQ(out_.str(),
            "ttyS0: no answer\n"
            "ttyUSB0: answered 3.4\n"
            "ttyUSB1: no answer (a reply with a wrong check byte)\n"
            "ttyACM0: the port is in use by another program\n"
            "ttyDENIED: permission denied (on Linux, add the user to the dialout group)\n"
            "ttyX: no such port\n");
  EXPECT_EQ(err_.str(), "");
}

TEST_F(Detect, JsonArrayOfResults) {
  EXPECT_EQ(Run({"ttyUSB0", "ttyS0", "ttyACM0"}, true), kExitOk);
  EXPECT_EQ(out_.str(), R"([
  {
    "port": "ttyUSB0",
    "result": "answered",
    "version": "3.4"
  },
  {
    "port": "ttyS0",
    "result": "no answer"
  },
  {
    "port": "ttyACM0",
    "result": "not opened",
    "reason": "the port is in use by another program"
  }
]
)");
}

// A check byte that is right on a frame too short for a version is no module.
TEST_F(Detect, AShortAnswerIsNoAnswer) {
  EXPECT_EQ(Run({"ttyUSB2"}, false), kExitCommunication);
  EXPECT_EQ(out_.str(), "ttyUSB2: no answer (a reply too short to hold a version)\n");
}

TEST_F(Detect, NoneAnsweredExitsWithOne) {
  EXPECT_EQ(Run({"ttyS0", "ttyUSB1"}, false), kExitCommunication);
  // A name that is no valid UTF-8 or holds control bytes is shown escaped, in JSON too.
  std::ostringstream out, err;
  EXPECT_EQ(RunDetect({"tty\x1b\xff"}, true, ports_.Opener(), {}, out, err), kExitCommunication);
  EXPECT_NE(out.str().find(R"("port": "tty\\x1b\\xff")"), std::string::npos) << out.str();
}

TEST_F(Detect, AStopBeforeTheSearchAsksNothing) {
  EXPECT_EQ(RunDetect(
                {"ttyUSB0"}, false, ports_.Opener(), [] { return true; }, out_, err_),
            kExitCommunication);
  EXPECT_EQ(out_.str(), "ttyUSB0: not asked (stopped)\n");
  EXPECT_EQ(err_.str(), "zelkctl: stopped\n");
}

TEST(DetectOperands, Refused) {
  CliOptions options;
  std::istringstream in;
  std::ostringstream out, err;
  CommandContext context(options, in, out, err);
  EXPECT_EQ(DetectCommand(context, {"--jason"}), kExitUsage);
  EXPECT_EQ(err.str(), "zelkctl: detect: unknown option '--jason'\n");

  err.str("");
  const std::vector<std::string> many(kMaxDetectPorts + 1, "ttyS0");
  EXPECT_EQ(DetectCommand(context, many), kExitUsage);
  EXPECT_EQ(err.str(), "zelkctl: detect: at most 256 ports at once (257 given)\n");
  EXPECT_EQ(out.str(), "");
}

TEST(VersionJson, NumbersOfTheReply) {
  sim::SimulatedPort port;
  Session session(port.Opener());
  ASSERT_TRUE(session.Open("SIM").ok());
  std::ostringstream out, err;
  EXPECT_EQ(RunVersionJson(session, out, err), kExitOk);
  EXPECT_EQ(out.str(), "{\"version\":\"2.10\",\"major\":2,\"minor\":10}\n");

  port.module().faults().silent = true;
  std::ostringstream silent_out, silent_err;
  EXPECT_EQ(RunVersionJson(session, silent_out, silent_err), kExitCommunication);
  EXPECT_EQ(silent_out.str(), "");
  EXPECT_EQ(silent_err.str(), "Communication Fail\n");

  port.module().faults() = {};
  port.module().faults().short_reply = true;
  std::ostringstream short_out, short_err;
  EXPECT_EQ(RunVersionJson(session, short_out, short_err), kExitCommunication);
  EXPECT_EQ(short_out.str(), "");
  EXPECT_EQ(short_err.str(), "Communication Fail\n");
}

}  // namespace
}  // namespace zelk::cli
