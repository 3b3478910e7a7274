// SPDX-License-Identifier: GPL-3.0-or-later
// What a hostile or careless command line does to zelkctl and zelk-sim: raw
// requests from an input that cannot be read, an assignment given twice, a value of 100,000 digits,
// a restore point folder that cannot be read or holds a pipe of a restore point's name, an option
// the simulator does not know, escape sequences in what is echoed back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>

#include "cli/command_table.h"
#include "cli/commands.h"
#include "cli/settings_commands.h"
#include "sim/sim_options.h"
#include "sim/simulated_line.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace zelk::cli {
namespace {

namespace fs = std::filesystem;

struct Ran {
  int status;
  std::string out;
  std::string err;
};

Ran RunCommand(CommandRun run, const std::string& name, const std::vector<std::string>& operands) {
  CliOptions options;
  options.command = name;
  std::istringstream in;
  std::ostringstream out, err;
  CommandContext context(options, in, out, err);
  const int status = run(context, operands);
  return {status, out.str(), err.str()};
}

// Standard input as a folder (zelkctl raw < /tmp): the file's stream buffer
// throws on the read after `readable` bytes.
class UnreadableAfter : public std::streambuf {
 public:
  explicit UnreadableAfter(std::string readable) : readable_(std::move(readable)) {
    setg(readable_.data(), readable_.data(), readable_.data() + readable_.size());
  }

 protected:
  int_type underflow() override { throw std::ios_base::failure("Is a directory"); }

 private:
  std::string readable_;
};

TEST(HostileRaw, AnInputThatCannotBeReadStopsTheRequests) {
  const struct {
    std::string readable;
    std::string out;
    std::string err;
  } cases[] = {
      {"", "", "zelkctl: line 1: the input cannot be read; stopped\n"},
      {"1 0 0\n", "ok\n", "zelkctl: line 2: the input cannot be read; stopped\n"},
      // The request of a line cut short by the failure is not sent.
      {"1 0 0\n1 0", "ok\n", "zelkctl: line 2: the input cannot be read; stopped\n"},
  };
  for (const auto& test : cases) {
    sim::SimulatedPort port;
    Session session(port.Opener());
    ASSERT_TRUE(session.Open("SIM").ok());
    UnreadableAfter source(test.readable);
    std::istream in(&source);
    std::ostringstream out, err;
    EXPECT_EQ(RunRaw(session, in, out, err), kExitUsage) << test.readable;
    EXPECT_EQ(out.str(), test.out);
    EXPECT_EQ(err.str(), test.err);
  }
}

TEST(HostileSet, AssignmentsRefusedBeforeAnythingIsOpened) {
  const std::string digits(100000, '9');
  const struct {
    std::vector<std::string> operands;
    std::string error;
  } cases[] = {
      {{"tempo_partida=1230", "tempo_partida=1000"}, "tempo_partida given more than once"},
      {{"heat_en=true", "rpm_adj=800", "heat_en=true"}, "heat_en given more than once"},
      {{"rpm_adj=800", "rpm_adj=800"}, "rpm_adj given more than once"},
      {{"tempo_partida=" + digits},
       "tempo_partida: '" + std::string(40, '9') + "...' is not a number"},
      {{digits + "=1"}, "unknown setting '" + std::string(40, '9') + "...'"},
      {{digits}, "'" + std::string(40, '9') + "...' is not NAME=VALUE"},
      {{"tempo_partida=\x1b[2J"}, "tempo_partida: '\\x1b[2J' is not a number"},
  };
  for (const auto& test : cases) {
    const Ran ran = RunCommand(SetCommand, "set", test.operands);
    EXPECT_EQ(ran.status, kExitUsage) << test.error;
    EXPECT_EQ(ran.err, "zelkctl: " + test.error + "\n");
    EXPECT_EQ(ran.out, "");
  }
}

#ifndef _WIN32
// ZELK_DATA_DIR for one test; the variable as it was afterwards.
class DataDir {
 public:
  explicit DataDir(const fs::path& path) {
    if (const char* old = std::getenv("ZELK_DATA_DIR")) old_ = old;
    ::setenv("ZELK_DATA_DIR", path.c_str(), 1);
  }
  ~DataDir() {
    if (old_) {
      ::setenv("ZELK_DATA_DIR", old_->c_str(), 1);
    } else {
      ::unsetenv("ZELK_DATA_DIR");
    }
  }
  DataDir(const DataDir&) = delete;
  DataDir& operator=(const DataDir&) = delete;

 private:
  std::optional<std::string> old_;
};

class HostileRestorePointFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("zelk-hostile-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path dir_;
};

TEST_F(HostileRestorePointFolder, AFileInTheWayIsNoEmptyList) {
  const fs::path file = dir_ / "a-file";
  std::ofstream(file) << "x";
  const DataDir data(file);
  const Ran ran = RunCommand(RestorePointsCommand, "restore-points", {});
  EXPECT_EQ(ran.status, kExitUsage);
  EXPECT_EQ(ran.out, "");
  EXPECT_EQ(ran.err.rfind("zelkctl: cannot read the restore point folder " +
                              (file / "restore-points").string() + ": ",
                          0),
            0u)
      << ran.err;
}

TEST_F(HostileRestorePointFolder, NoneMadeYetIsAnEmptyList) {
  const DataDir data(dir_ / "not-made");
  const Ran ran = RunCommand(RestorePointsCommand, "restore-points", {});
  EXPECT_EQ(ran.status, kExitOk) << ran.err;
  EXPECT_EQ(ran.out,
            "no restore points in " + (dir_ / "not-made" / "restore-points").string() + "\n");
}

TEST_F(HostileRestorePointFolder, ARelativeOneIsRefused) {
  for (const char* relative : {"data", "~/data", "./data"}) {
    const DataDir data(relative);
    const Ran ran = RunCommand(RestorePointsCommand, "restore-points", {});
    EXPECT_EQ(ran.status, kExitUsage) << relative;
    EXPECT_EQ(ran.err,
              "zelkctl: no folder for restore points: $ZELK_DATA_DIR is not an absolute path\n");
    const Ran set = RunCommand(SetCommand, "set", {"tempo_partida=1230"});
    EXPECT_EQ(set.status, kExitUsage) << relative;
    EXPECT_EQ(set.err,
              "zelkctl: no folder for restore points: $ZELK_DATA_DIR is not an absolute path; "
              "nothing was written\n");
  }
}

TEST_F(HostileRestorePointFolder, APipeOrFolderOfARestorePointsNameIsPassedOver) {
  const fs::path folder = dir_ / "restore-points";
  fs::create_directories(folder / "2026-12-09T14-09-47.426Z-01.zelk");
  // Opened for reading, this would wait for a writer that never comes.
  ASSERT_EQ(::mkfifo((folder / "2026-12-09T14-09-47.426Z-00.zelk").c_str(), 0600), 0);
  const DataDir data(dir_);
  const Ran ran = RunCommand(RestorePointsCommand, "restore-points", {});
  EXPECT_EQ(ran.status, kExitOk) << ran.err;
  EXPECT_EQ(ran.out, "no restore points in " + folder.string() + "\n");
}
#endif

TEST(HostileSimCommandLine, SaysWhatIsWrong) {
  const struct {
    std::vector<std::string> args;
    std::string error;
  } cases[] = {
      {{"--bogus"}, "unknown option --bogus"},
      {{"--bogus", "value"}, "unknown option --bogus"},
      {{"--bogus=1"}, "unknown option --bogus"},
      {{"--seed"}, "missing value after --seed"},
      {{"--link="}, "bad value for --link: ''"},
      {{"--seed", "4294967296"}, "bad value for --seed: '4294967296'"},
      {{"--module-version", "256.0"}, "bad value for --module-version: '256.0'"},
  };
  for (const auto& test : cases) {
    sim::SimOptions options;
    std::string error;
    EXPECT_FALSE(sim::ParseSimOptions(test.args, options, error)) << test.error;
    EXPECT_EQ(error, test.error);
  }
}

}  // namespace
}  // namespace zelk::cli
