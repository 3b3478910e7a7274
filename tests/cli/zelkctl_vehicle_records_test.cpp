// SPDX-License-Identifier: GPL-3.0-or-later
// What read, backup and monitor keep in the history of the vehicle on the
// bench, on zelk-sim: one settings record per block the module held, the
// backup beside its file, the live log in the vehicle's folder; an unknown
// vehicle that reaches no module, a record that cannot be written that a
// script does not take for done.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>

#include "support/child_process.h"
#include "support/sim_process.h"

namespace zelk::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string g_zelkctl = ZELKCTL_PATH;
const std::string g_sim = ZELK_SIM_PATH;

const std::string kUnknownVehicle = "zelkctl: no vehicle 'XYZ9999' (zelkctl vehicles lists them)\n";
const std::string kNotRecorded = "zelkctl: the settings could not be recorded in the vehicle's";

struct SettingsRecord {
  std::string reason;
  std::string block;
};

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Field(const std::string& text, const std::string& key) {
  std::smatch match;
  const std::regex field("\"" + key + "\": \"([^\"]*)\"");
  return std::regex_search(text, match, field) ? match[1].str() : std::string();
}

std::size_t LineCount(const std::string& text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

class ZelkctlVehicleRecords : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        fs::temp_directory_path() / ("zelkctl-records-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir_);
    data_ = dir_ / "data";
    std::string error;
    ASSERT_TRUE(sim_.Start({}, error)) << error;
    ASSERT_EQ(Run({"vehicle", "add", "ABC1D23"}, false).exit_code, 0);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // zelkctl with the test's data folder; `port` adds --port with the sim's link.
  ProcessOutput Run(std::vector<std::string> args, bool port = true) {
    if (port) args.insert(args.begin(), {"--port", sim_.link()});
    args.insert(args.begin(), {"/usr/bin/env", "ZELK_DATA_DIR=" + data_.string(), g_zelkctl});
    return RunProcess(args, "", 60s);
  }

  // As Run, but no file of any size can be written (the disk as good as
  // full): a limit that holds for root too, where permissions do not.
  ProcessOutput RunWithoutFileSpace(const std::vector<std::string>& args) {
    std::vector<std::string> shell{
        "/bin/sh", "-c",           "trap '' XFSZ; ulimit -f 0; exec \"$@\"",
        "sh",      "/usr/bin/env", "ZELK_DATA_DIR=" + data_.string(),
        g_zelkctl, "--port",       sim_.link()};
    shell.insert(shell.end(), args.begin(), args.end());
    return RunProcess(shell, "", 60s);
  }

  fs::path VehicleFolder() const { return fs::directory_iterator(data_ / "vehicles")->path(); }

  // The history's files ending in `suffix`, oldest first (their names start with the time).
  std::vector<fs::path> HistoryFiles(const std::string& suffix) const {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(VehicleFolder())) {
      const std::string name = entry.path().filename().string();
      if (name.ends_with(suffix) && name != "vehicle.json") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
  }

  std::vector<SettingsRecord> SettingsRecords() const {
    std::vector<SettingsRecord> records;
    for (const fs::path& file : HistoryFiles(".zelk")) {
      const std::string text = ReadText(file);
      records.push_back({Field(text, "reason"), Field(text, "block")});
    }
    return records;
  }

  // The module's block, from a backup to standard output (no vehicle).
  std::string ModuleBlock() {
    const ProcessOutput run = Run({"backup", "-"});
    EXPECT_EQ(run.exit_code, 0) << run.err;
    return Field(run.out, "block");
  }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  SimProcess sim_{g_sim};
  fs::path dir_;
  fs::path data_;
};

TEST_F(ZelkctlVehicleRecords, ReadKeepsOneRecordPerBlockTheModuleHeld) {
  const std::string first = ModuleBlock();
  ASSERT_EQ(first.size(), 50u);
  for (int run = 0; run < 2; ++run) {
    const ProcessOutput read = Run({"--vehicle", "abc1d23", "read"});
    ASSERT_EQ(read.exit_code, 0) << read.err;
    EXPECT_EQ(read.err, "");
    EXPECT_NE(read.out.find("tempo_partida   1000       ms\n"), std::string::npos) << read.out;
  }
  std::vector<SettingsRecord> records = SettingsRecords();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].reason, "read");
  EXPECT_EQ(records[0].block, first);

  ASSERT_EQ(Run({"set", "temp_corr=40"}).exit_code, 0);
  const std::string changed = ModuleBlock();
  ASSERT_NE(changed, first);
  const ProcessOutput json = Run({"--vehicle", "ABC1D23", "read", "--json"});
  ASSERT_EQ(json.exit_code, 0) << json.err;
  EXPECT_EQ(Field(json.out, "block"), changed);

  records = SettingsRecords();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[1].reason, "read");
  EXPECT_EQ(records[1].block, changed);
}

TEST_F(ZelkctlVehicleRecords, BackupWritesTheFileAndTheSameBlockIntoTheHistory) {
  const ProcessOutput backup = Run({"--vehicle", "ABC1D23", "backup", Path("before.zelk")});
  ASSERT_EQ(backup.exit_code, 0) << backup.err;
  EXPECT_EQ(backup.out, "saved " + Path("before.zelk") + "\n");
  const std::string saved = ReadText(Path("before.zelk"));
  ASSERT_EQ(Field(saved, "block").size(), 50u) << saved;

  std::vector<SettingsRecord> records = SettingsRecords();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].reason, "backup");
  EXPECT_EQ(records[0].block, Field(saved, "block"));

  // The same block again, backed up to standard output or read: nothing new.
  const ProcessOutput again = Run({"--vehicle", "ABC1D23", "backup", "-"});
  ASSERT_EQ(again.exit_code, 0) << again.err;
  EXPECT_EQ(Field(again.out, "block"), records[0].block);
  ASSERT_EQ(Run({"--vehicle", "ABC1D23", "read"}).exit_code, 0);
  records = SettingsRecords();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].reason, "backup");
}

TEST_F(ZelkctlVehicleRecords, MonitorLogsIntoTheVehicleUnlessCsvSaysWhere) {
  const ProcessOutput run =
      Run({"--vehicle", "ABC1D23", "monitor", "--count", "3", "--interval", "0"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const std::vector<fs::path> logs = HistoryFiles(".csv");
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_EQ(run.err, "zelkctl: logging to " + logs[0].string() + "\n");
  EXPECT_EQ(LineCount(run.out), 3u) << run.out;
  EXPECT_NE(run.out.find("  rpm "), std::string::npos) << run.out;
  const std::string log = ReadText(logs[0]);
  ASSERT_EQ(LineCount(log), 4u) << log;
  EXPECT_EQ(log.rfind("time_s,wall_clock,rpm,", 0), 0u) << log;
  const std::regex ok_row(
      "[0-9]+\\.[0-9]{3},[-0-9T:.]+Z,[0-9.]+,[0-9.]+,[0-9]+,-?[0-9.]+,[0-9.]+,"
      "[0-9]+,ok,[0-9a-f]{20},");
  std::istringstream rows(log.substr(log.find('\n') + 1));
  for (std::string row; std::getline(rows, row);) EXPECT_TRUE(std::regex_match(row, ok_row)) << row;

  const ProcessOutput shown = Run({"vehicle", "show", "ABC1D23"}, false);
  ASSERT_EQ(shown.exit_code, 0) << shown.err;
  EXPECT_NE(shown.out.find("\tlog\t"), std::string::npos) << shown.out;

  // An explicit file takes the log where it is asked; the history gets none.
  const ProcessOutput elsewhere = Run({"--vehicle", "ABC1D23", "monitor", "--count", "2",
                                       "--interval", "0", "--csv", Path("l.csv")});
  ASSERT_EQ(elsewhere.exit_code, 0) << elsewhere.err;
  EXPECT_EQ(elsewhere.err, "");
  EXPECT_EQ(elsewhere.out, "");
  EXPECT_EQ(LineCount(ReadText(Path("l.csv"))), 3u);
  EXPECT_EQ(HistoryFiles(".csv").size(), 1u);
}

// The vehicle is looked up before the port is opened: --trace would show any
// frame, and a port that does not exist would be named first.
TEST_F(ZelkctlVehicleRecords, AnUnknownVehicleReachesNoModule) {
  const std::vector<std::vector<std::string>> commands{
      {"read"}, {"read", "--json"}, {"backup", Path("b.zelk")}, {"monitor", "--count", "1"}};
  for (const std::vector<std::string>& command : commands) {
    for (const std::string& port : {sim_.link(), Path("no-such-port")}) {
      std::vector<std::string> args{"--trace", "--vehicle", "XYZ9999", "--port", port};
      args.insert(args.end(), command.begin(), command.end());
      const ProcessOutput run = Run(args, false);
      EXPECT_EQ(run.exit_code, 2) << command[0];
      EXPECT_EQ(run.err, kUnknownVehicle) << command[0];
      EXPECT_EQ(run.out, "") << command[0];
    }
  }
  EXPECT_FALSE(fs::exists(Path("b.zelk")));
  EXPECT_TRUE(HistoryFiles("").empty());
}

// The output is there, and exit 1 says the history does not hold it.
TEST_F(ZelkctlVehicleRecords, ARecordNotWrittenExitsWithOne) {
  const ProcessOutput read = RunWithoutFileSpace({"--vehicle", "ABC1D23", "read"});
  EXPECT_EQ(read.exit_code, 1) << read.err;
  EXPECT_NE(read.out.find("tempo_partida   1000       ms\n"), std::string::npos) << read.out;
  EXPECT_EQ(read.err.rfind(kNotRecorded, 0), 0u) << read.err;
  EXPECT_EQ(LineCount(read.err), 1u) << read.err;

  const ProcessOutput backup = RunWithoutFileSpace({"--vehicle", "ABC1D23", "backup", "-"});
  EXPECT_EQ(backup.exit_code, 1) << backup.err;
  EXPECT_EQ(Field(backup.out, "reason"), "backup") << backup.out;
  EXPECT_EQ(backup.err.rfind(kNotRecorded, 0), 0u) << backup.err;

  // A backup file that cannot be saved is the failure it always was; no record.
  const ProcessOutput to_file =
      RunWithoutFileSpace({"--vehicle", "ABC1D23", "backup", Path("b.zelk")});
  EXPECT_EQ(to_file.exit_code, 2) << to_file.err;
  EXPECT_EQ(to_file.err.rfind("zelkctl: cannot save ", 0), 0u) << to_file.err;

  // A log that cannot be written is refused as any log is.
  const ProcessOutput monitor =
      RunWithoutFileSpace({"--vehicle", "ABC1D23", "monitor", "--count", "1"});
  EXPECT_EQ(monitor.exit_code, 2) << monitor.err;
  EXPECT_EQ(monitor.out, "");

  EXPECT_TRUE(SettingsRecords().empty());
  EXPECT_FALSE(fs::exists(Path("b.zelk")));
}

}  // namespace
}  // namespace zelk::testing
