// SPDX-License-Identifier: GPL-3.0-or-later
// Every zelkctl command against a module whose replies pass their check byte
// but come short: exit 1 (monitor: fail rows), nothing written to the module,
// no file saved from the short bytes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <sstream>

#include "cli/command_table.h"
#include "cli/commands.h"
#include "cli/detect_command.h"
#include "cli/monitor_command.h"
#include "cli/program_commands.h"
#include "sim/simulated_line.h"
#include "support/scripted_line.h"

namespace zelk::cli {
namespace {

namespace fs = std::filesystem;
using zelk::testing::Bytes;
using zelk::testing::LineScript;

// ZELK_DATA_DIR for the restore points; "" removes it.
void SetDataDir(const std::string& value) {
#ifdef _WIN32
  _putenv_s("ZELK_DATA_DIR", value.c_str());
#else
  if (value.empty()) {
    ::unsetenv("ZELK_DATA_DIR");
  } else {
    ::setenv("ZELK_DATA_DIR", value.c_str(), 1);
  }
#endif
}

struct Outcome {
  int exit_code;
  std::string out, err;
};

class ShortReplies : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("zelk-short-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir_);
    SetDataDir((dir_ / "data").string());
    // A file to restore and compare, saved from the module while it answers well.
    ASSERT_EQ(RunCommand(port_.Opener(), {"backup", File()}).exit_code, kExitOk);
    port_.module().faults().short_reply = true;
    before_ = port_.module().settings();
    requests_before_ = port_.module().history().size();
  }
  void TearDown() override {
    SetDataDir("");
    fs::remove_all(dir_);
  }

  // The command's row of the table, as `zelkctl --port SIM NAME OPERANDS...` runs it.
  static Outcome RunCommand(LineOpener opener, std::vector<std::string> words) {
    CliOptions options;
    options.command = words.front();
    options.port = "SIM";
    options.port_given = true;
    words.erase(words.begin());
    std::istringstream in;
    std::ostringstream out, err;
    CommandContext context(options, in, out, err, std::move(opener));
    const int code = FindCommand(options.command)->run(context, words);
    return {code, out.str(), err.str()};
  }

  std::string File() const { return (dir_ / "module.zelk").string(); }
  bool AWriteReachedTheModule() {
    const auto& history = port_.module().history();
    for (std::size_t i = requests_before_; i < history.size(); ++i) {
      if (history[i].command == requests::kWriteSettings.command) return true;
    }
    return false;
  }

  sim::SimulatedPort port_;
  fs::path dir_;
  std::array<std::uint8_t, sim::kSettingsSize> before_{};
  std::size_t requests_before_ = 0;
};

TEST_F(ShortReplies, NoSettingsCommandTakesThemForData) {
  const std::vector<std::vector<std::string>> commands{
      {"read"},
      {"read", "--json"},
      {"backup", (dir_ / "zeros.zelk").string()},
      {"set", "temp_corr=40"},
      {"restore", File()},
      {"diff", File()},
      {"version"},
      {"version", "--json"},
      {"program", "mix", "50"},
  };
  for (const auto& words : commands) {
    SCOPED_TRACE(words.front() + (words.size() > 1 ? " " + words[1] : std::string()));
    const Outcome run = RunCommand(port_.Opener(), words);
    EXPECT_EQ(run.exit_code, kExitCommunication) << run.out << run.err;
    EXPECT_NE(run.err.find("Communication Fail"), std::string::npos) << run.err;
    EXPECT_FALSE(AWriteReachedTheModule());
    EXPECT_EQ(port_.module().settings(), before_);
  }
  EXPECT_FALSE(fs::exists(dir_ / "zeros.zelk"));
  EXPECT_FALSE(fs::exists(dir_ / "data" / "restore-points") &&
               !fs::is_empty(dir_ / "data" / "restore-points"));
}

// The version answered in full, the settings block one byte short: the
// commands that read before they write stop there.
TEST_F(ShortReplies, ABlockOneByteShortStopsEveryWrite) {
  for (const char* command : {"set", "restore", "program"}) {
    SCOPED_TRACE(command);
    auto script = std::make_shared<LineScript>();
    auto reply = [](Bytes payload) {
      payload.insert(payload.begin(), {0xF3, 0x00});
      payload.push_back(FrameChecksum(payload));
      return payload;
    };
    script->Reply(reply({2, 10}));
    script->Reply(reply(Bytes(24, 0x11)));
    std::vector<std::string> words{command};
    if (words[0] == "set") words.push_back("temp_corr=40");
    if (words[0] == "restore") words.push_back(File());
    if (words[0] == "program") words.insert(words.end(), {"mix", "50"});
    const Outcome run = RunCommand(zelk::testing::ScriptedOpener(script), words);
    EXPECT_EQ(run.exit_code, kExitCommunication) << run.err;
    for (const Bytes& frame : script->written) {
      EXPECT_NE(frame.at(1), requests::kWriteSettings.command);
    }
  }
}

class ShortRepliesOnTheClock : public ::testing::Test {
 protected:
  ShortRepliesOnTheClock() : session_(port_.Opener(), [this] { return port_.clock().now_ms(); }) {
    port_.module().faults().short_reply = true;
  }
  void SetUp() override { ASSERT_TRUE(session_.Open("SIM").ok()); }

  sim::SimulatedPort port_;
  Session session_;
  std::ostringstream out_, err_;
};

// A MAP program whose status comes short never counts as ended: it runs to
// its time-out and is aborted.
TEST_F(ShortRepliesOnTheClock, AProgramIsNotCompletedOnAShortStatus) {
  const ProgramPacing pacing{[this] { return port_.clock().now_ms(); },
                             [this](double ms) { port_.clock().Advance(ms); },
                             [] { return false; }};
  EXPECT_EQ(RunEngineProgram(session_, EngineProgram::map, 3000, pacing, out_, err_),
            kExitCommunication);
  EXPECT_EQ(out_.str().find("Completed"), std::string::npos) << out_.str();
}

TEST_F(ShortRepliesOnTheClock, MonitorRowsAreFailures) {
  MonitorOptions options;
  std::string error;
  ASSERT_TRUE(ParseMonitorOptions({"--count", "3"}, options, error)) << error;
  MonitorTiming timing;
  timing.now_ms = [this] { return port_.clock().now_ms(); };
  timing.sleep_ms = [this](double ms) { port_.clock().Advance(ms); };
  EXPECT_EQ(RunMonitor(session_, options, out_, err_, timing), kExitOk);
  std::istringstream lines(out_.str());
  int rows = 0;
  for (std::string line; std::getline(lines, line); ++rows) {
    EXPECT_TRUE(line.ends_with("fail")) << line;
  }
  EXPECT_EQ(rows, 3);
}

TEST_F(ShortRepliesOnTheClock, DetectFindsNoModule) {
  EXPECT_EQ(RunDetect({"SIM"}, false, port_.Opener(), {}, out_, err_), kExitCommunication);
  EXPECT_EQ(out_.str(), "SIM: no answer (a reply too short to hold a version)\n");
}

}  // namespace
}  // namespace zelk::cli
