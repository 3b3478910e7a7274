// SPDX-License-Identifier: GPL-3.0-or-later
// set and restore against the in-process simulated module: values at the
// edges of their ranges read back inside them, a block out of range is
// refused unless forced, and a stop after the write says where it stopped.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cstdlib>
#include <random>
#include <sstream>

#include "cli/command_table.h"
#include "cli/commands.h"
#include "cli/settings_commands.h"
#include "cli/stop_signal.h"
#include "settings/settings_values.h"
#include "settings_file/file_io.h"
#include "sim/simulated_line.h"

namespace zelk::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::uint8_t kWriteCommand = 4;
constexpr std::uint8_t kReadCommand = 1;

class SettingsOnTheSim : public ::testing::Test {
 protected:
  SettingsOnTheSim() : session_(port_.Opener(), [this] { return port_.clock().now_ms(); }) {}
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("zelk-cli-stop-" + std::to_string(std::random_device{}()));
    ASSERT_TRUE(OpenPortOrSay(session_, "SIM", err_));
    ClearStopRequest();
  }
  void TearDown() override {
    ClearStopRequest();
    fs::remove_all(dir_);
  }

  // A stop as SIGINT gives it, once the request with `command` has gone out
  // after the write (the settings read before it is no read back).
  void StopOnceSent(std::uint8_t command) {
    session_.SetTrace([command, written = false](TraceDirection direction,
                                                 std::span<const std::uint8_t> frame) mutable {
      if (direction != TraceDirection::sent || frame.size() < 2) return;
      written = written || frame[1] == kWriteCommand;
      if (written && frame[1] == command) RequestStop();
    });
  }
  static WriteStop Stop() {
    return {[] {}, StopRequested};
  }

  sim::SimulatedPort port_;
  Session session_;
  fs::path dir_;
  std::ostringstream out_, err_;
};

TEST_F(SettingsOnTheSim, ValuesAtTheirRangesEdgesReadBackInside) {
  FileSettings edges;
  edges.values[kLimiteCorr] = 10;
  edges.values[kPorcMistura] = 10;
  edges.values[kTempCorr] = 100;
  edges.values[kTempoExtra] = 20;
  RestorePoints points(dir_);
  ASSERT_EQ(RunSet(session_, edges, points, out_, err_), kExitOk) << err_.str();
  const auto& held = port_.module().settings();
  const SettingsBlock block = held;
  for (const std::size_t index : {kLimiteCorr, kPorcMistura, kTempCorr, kTempoExtra}) {
    const SettingRow& row = kSettings[index];
    const double shown = SettingValue(row, block);
    const double max =
        row.max_is_limite_corr ? SettingValue(kSettings[kLimiteCorr], block) : row.max;
    EXPECT_TRUE(shown >= row.min && shown <= max) << row.name << " reads back " << shown;
  }
}

TEST_F(SettingsOnTheSim, AStopAfterTheWriteSaysWhereItStopped) {
  const struct {
    std::uint8_t stop_after;
    const char* says;
  } cases[] = {
      {kWriteCommand, "they were not read back"},
      {kReadCommand, "the read back shows the module holds them"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.says);
    ClearStopRequest();
    err_.str("");
    out_.str("");
    FileSettings change;
    change.values[kTempCorr] = 40 + c.stop_after;
    RestorePoints points(dir_ / std::to_string(c.stop_after));
    StopOnceSent(c.stop_after);
    EXPECT_EQ(RunSet(session_, change, points, out_, err_, Stop()), kExitCommunication);
    const std::vector<RestorePoint> listed = points.List();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(err_.str(), "zelkctl: interrupted after the settings were sent; " +
                              std::string(c.says) + "; restore point " + listed[0].path.string() +
                              "\n");
    EXPECT_EQ(out_.str(), "");
    const auto& held = port_.module().settings();
    EXPECT_EQ(SettingValue(kSettings[kTempCorr], held), 40 + c.stop_after);
  }
}

// A stop raised before the write is armed changes nothing: the write goes on.
TEST_F(SettingsOnTheSim, WithoutAStopTheWriteIsVerified) {
  FileSettings change;
  change.values[kTempCorr] = 40;
  RestorePoints points(dir_);
  EXPECT_EQ(RunSet(session_, change, points, out_, err_, Stop()), kExitOk) << err_.str();
  EXPECT_EQ(out_.str().rfind("set; restore point ", 0), 0u) << out_.str();
}

#ifndef _WIN32
class RestoreCommandTest : public SettingsOnTheSim {
 protected:
  int Restore(std::vector<std::string> operands) {
    CliOptions options;
    options.command = "restore";
    options.port = "SIM";
    options.port_given = true;
    std::istringstream in;
    CommandContext context(options, in, out_, err_, port_.Opener());
    return RestoreCommand(context, operands);
  }
  std::string File(const std::string& name, SettingsBlock block) {
    const fs::path path = dir_ / name;
    fs::create_directories(dir_);
    EXPECT_TRUE(WriteFileAtomically(
                    path, EncodeSettingsFile(MakeSettingsFile(block, "2.10", "", SaveReason::save)))
                    .ok);
    return path.string();
  }
};

TEST_F(RestoreCommandTest, ABlockOutOfRangeIsRefusedUnlessForced) {
  const auto& held = port_.module().settings();
  const SettingsBlock before = held;
  SettingsBlock bad = before;
  bad[24] = 0;    // Adjust Time 0
  bad[17] = 255;  // cold-start maximum -65 C
  bad[18] = 0;    // throttle variation 0
  bad[19] = 0;
  const std::string file = File("bad.zelk", bad);
  ::setenv("ZELK_DATA_DIR", (dir_ / "data").c_str(), 1);

  EXPECT_EQ(Restore({file}), kExitUsage);
  EXPECT_EQ(
      err_.str(),
      "zelkctl: " + file + ": Max. Temp. (temp_max_cold) is -65, outside its range 15 to 35\n" +
          "zelkctl: " + file + ": Adjust Time (tempo_ajuste) is 0, outside its range 10 to 50\n" +
          "zelkctl: " + file +
          ": Throtle var. min. (var_inicial) is 0, outside its range 200 to 15000\n" +
          "zelkctl: " + file +
          ": holds settings no entry check allows; nothing was written (restore --force "
          "writes it as it is)\n");
  EXPECT_EQ(held, before);
  EXPECT_EQ(port_.calls().writes, 0) << "the port is not even opened";

  err_.str("");
  EXPECT_EQ(Restore({"--force", file}), kExitOk) << err_.str();
  EXPECT_EQ(held[24], 0);
  EXPECT_EQ(held[17], 255);
  ::unsetenv("ZELK_DATA_DIR");
}

// diff and restore refuse a FIFO with no writer at once (an open that waited
// would hang here), and a device.
TEST_F(RestoreCommandTest, AFifoOrADeviceIsNoSettingsFile) {
  fs::create_directories(dir_);
  const fs::path fifo = dir_ / "fifo.zelk";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string good = File("good.zelk", SettingsBlock{});
  for (const std::string& name : {fifo.string(), std::string("/dev/null")}) {
    err_.str("");
    EXPECT_EQ(Restore({name}), kExitUsage);
    EXPECT_EQ(err_.str(), "zelkctl: " + name + ": is not a regular file\n");
    CliOptions options;
    options.command = "diff";
    std::istringstream in;
    err_.str("");
    CommandContext context(options, in, out_, err_, port_.Opener());
    EXPECT_EQ(DiffCommand(context, {good, name}), kExitUsage);
    EXPECT_EQ(err_.str(), "zelkctl: " + name + ": is not a regular file\n");
  }
  EXPECT_EQ(port_.calls().writes, 0);
}
#endif

}  // namespace
}  // namespace zelk::cli
