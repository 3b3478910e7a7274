// SPDX-License-Identifier: GPL-3.0-or-later
// zelkctl's vehicle commands on a data folder of the test's own: what they
// print, the JSON fields scripts rely on, and every refusal making nothing.
#include "cli/vehicle_commands.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/settings_commands.h"
#include "records/vehicle_history.h"

namespace zelk::cli {
namespace {

#ifndef _WIN32
namespace fs = std::filesystem;
using Json = nlohmann::json;

struct Ran {
  int status;
  std::string out;
  std::string err;
};

class VehicleCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("zelk-vehicles-" + std::to_string(std::random_device{}()));
    ::setenv("ZELK_DATA_DIR", dir_.c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("ZELK_DATA_DIR");
    fs::remove_all(dir_);
  }

  // `vehicle`: as given with --vehicle.
  static Ran Run(CommandRun run, const std::vector<std::string>& operands,
                 const char* vehicle = nullptr) {
    CliOptions options;
    if (vehicle != nullptr) {
      options.vehicle = vehicle;
      options.vehicle_given = true;
    }
    std::istringstream in;
    std::ostringstream out, err;
    CommandContext context(options, in, out, err);
    const int status = run(context, operands);
    return {status, out.str(), err.str()};
  }
  std::size_t VehicleFolders() const {
    std::error_code error;
    std::size_t count = 0;
    for (fs::directory_iterator it(dir_ / "vehicles", error), end; !error && it != end; ++it) {
      ++count;
    }
    return count;
  }

  fs::path dir_;
};

TEST_F(VehicleCommands, AddShowNoteAndSearch) {
  Ran ran = Run(VehicleCommand, {"add", "ABC1D23", "--name", "VW Gol 1.6 2012", "--customer",
                                 "José Conceição", "--phone", "+55 11 5555-0100"});
  ASSERT_EQ(ran.status, kExitOk) << ran.err;
  EXPECT_EQ(ran.out.rfind("added ABC1D23 in " + (dir_ / "vehicles").string(), 0), 0u) << ran.out;
  ASSERT_EQ(Run(VehicleCommand, {"add", "Лада 2107", "--customer", "Ivan"}).status, kExitOk);
  ran = Run(VehicleCommand, {"note", "abc1d23", "Injector 3 replaced"});
  ASSERT_EQ(ran.status, kExitOk) << ran.err;

  ran = Run(VehiclesCommand, {"--json", "CONCEICAO"});
  ASSERT_EQ(ran.status, kExitOk) << ran.err;
  const Json list = Json::parse(ran.out);
  ASSERT_EQ(list.size(), 1u);
  for (const char* key : {"plate", "name", "customer", "phone", "last_activity"}) {
    EXPECT_TRUE(list[0].contains(key)) << key;
  }
  EXPECT_EQ(list[0]["plate"], "ABC1D23");
  EXPECT_EQ(list[0]["customer"], "José Conceição");

  ran = Run(VehiclesCommand, {});
  EXPECT_EQ(ran.out.rfind("ABC1D23\t", 0), 0u) << ran.out;  // the newest activity first
  EXPECT_NE(ran.out.find("Лада 2107\t"), std::string::npos) << ran.out;

  ran = Run(VehicleCommand, {"show", "ABC1D23", "--json"});
  ASSERT_EQ(ran.status, kExitOk) << ran.err;
  const Json shown = Json::parse(ran.out);
  EXPECT_EQ(shown["phone"], "+55 11 5555-0100");
  ASSERT_EQ(shown["history"].size(), 1u);
  const Json& note = shown["history"][0];
  for (const char* key : {"time", "kind", "reason", "module_version", "file"}) {
    EXPECT_TRUE(note.contains(key)) << key;
  }
  EXPECT_EQ(note["kind"], "note");
  EXPECT_EQ(note["note"], "Injector 3 replaced");
  EXPECT_TRUE(fs::path(note["file"].get<std::string>()).is_absolute());
}

TEST_F(VehicleCommands, RefusalsExitTwoAndMakeNothing) {
  ASSERT_EQ(Run(VehicleCommand, {"add", "ABC1D23"}).status, kExitOk);
  struct Refusal {
    std::vector<std::string> operands;
    std::string error;
  };
  const std::string rule =
      "A plate or name has 1 to 32 characters: letters, digits, spaces, hyphens and dots, and is "
      "not \".\" or \"..\".";
  const Refusal refusals[] = {
      {{"add", "abc1d23"}, "a vehicle 'abc1d23' exists already"},
      {{"add", ".."}, rule},
      {{"add", "CON/1"}, rule},
      {{"add", "X1", "--colour", "red"}, "unexpected argument '--colour'"},
      {{"add", "X1", "--name"}, "--name needs a text"},
      {{"add"}, "vehicle add: which plate or name?"},
      {{"show", "XYZ9999"}, "no vehicle 'XYZ9999' (zelkctl vehicles lists them)"},
      {{"show", "a/b"}, rule},
      {{"show"}, "usage: zelkctl vehicle show ID [--json]"},
      {{"note", "XYZ9999", "text"}, "no vehicle 'XYZ9999' (zelkctl vehicles lists them)"},
      {{"note", "ABC1D23"}, "usage: zelkctl vehicle note ID TEXT"},
      {{"note", "ABC1D23", ""}, "usage: zelkctl vehicle note ID TEXT"},
      {{"paint", "ABC1D23"}, "vehicle: unknown 'paint' (add, show or note)"},
      {{}, "vehicle: add, show or note?"},
  };
  for (const Refusal& r : refusals) {
    const Ran ran = Run(VehicleCommand, r.operands);
    EXPECT_EQ(ran.status, kExitUsage) << r.error;
    EXPECT_EQ(ran.err, "zelkctl: " + r.error + "\n");
    EXPECT_EQ(ran.out, "");
  }
  EXPECT_EQ(VehicleFolders(), 1u);
  const Ran ran = Run(VehicleCommand, {"show", "ABC1D23", "--json"});
  EXPECT_TRUE(Json::parse(ran.out)["history"].empty());
  EXPECT_EQ(Run(VehiclesCommand, {"a", "b"}).status, kExitUsage);
  EXPECT_EQ(Run(VehiclesCommand, {"--jsn"}).status, kExitUsage);
}

TEST_F(VehicleCommands, ADamagedVehicleIsListedNotLost) {
  ASSERT_EQ(Run(VehicleCommand, {"add", "ABC1D23"}).status, kExitOk);
  const fs::path folder = fs::directory_iterator(dir_ / "vehicles")->path();
  { std::ofstream(folder / "vehicle.json") << "{ broken"; }
  Ran ran = Run(VehiclesCommand, {});
  EXPECT_EQ(ran.out.rfind("damaged\t" + folder.string(), 0), 0u) << ran.out;
  ran = Run(VehiclesCommand, {"--json"});
  EXPECT_EQ(Json::parse(ran.out)[0]["folder"], folder.string());
  ran = Run(VehicleCommand, {"add", "abc1d23"});
  EXPECT_EQ(ran.status, kExitUsage);  // its place stays taken
  EXPECT_TRUE(fs::exists(folder / "vehicle.json"));
}

TEST_F(VehicleCommands, RestorePointsOfAVehicleOrOfNone) {
  ASSERT_EQ(Run(VehicleCommand, {"add", "ABC1D23"}).status, kExitOk);
  const auto morning = std::chrono::system_clock::time_point(std::chrono::seconds(1796811300));
  SettingsBlock block{};
  VehicleHistory history(VehicleStore(dir_ / "vehicles").Find("ABC1D23")->folder,
                         [morning] { return morning; });
  const AddedRecord kept = history.AddSettings(
      MakeSettingsFile(block, "2.10", "2026-12-09T10:15:00Z", SaveReason::before_write));
  ASSERT_TRUE(kept.file);
  RestorePoints unassigned(dir_ / "restore-points", [morning] { return morning; });
  block.fill(1);
  const SavedRestorePoint loose = unassigned.Save(block, "2.9", SaveReason::before_set);
  ASSERT_TRUE(loose.path);

  struct Listing {
    const char* vehicle;
    std::string file, reason, module_version;
  };
  for (const Listing& l : {Listing{nullptr, loose.path->string(), "before-set", "2.9"},
                           Listing{"abc1d23", kept.file->string(), "before-write", "2.10"},
                           Listing{"ABC1D23", kept.file->string(), "before-write", "2.10"}}) {
    const Ran ran = Run(RestorePointsCommand, {"--json"}, l.vehicle);
    ASSERT_EQ(ran.status, kExitOk) << ran.err;
    const Json list = Json::parse(ran.out);
    ASSERT_EQ(list.size(), 1u) << ran.out;
    EXPECT_EQ(list[0]["file"], l.file);
    EXPECT_EQ(list[0]["reason"], l.reason);
    EXPECT_EQ(list[0]["module_version"], l.module_version);
    EXPECT_EQ(list[0]["time"], "2026-12-09T10:15:00Z");
  }
  const Ran table = Run(RestorePointsCommand, {}, "ABC1D23");
  EXPECT_EQ(table.out,
            "2026-12-09T10:15:00Z  2.10   before-write    " + kept.file->string() + "\n");

  Ran ran = Run(RestorePointsCommand, {}, "XYZ9999");
  EXPECT_EQ(ran.status, kExitUsage);
  EXPECT_EQ(ran.err, "zelkctl: no vehicle 'XYZ9999' (zelkctl vehicles lists them)\n");
  ran = Run(RestorePointsCommand, {"--json", "--json"});
  EXPECT_EQ(ran.status, kExitUsage);
}

TEST_F(VehicleCommands, PeoplesTextsReachTheTerminalWithoutEscapes) {
  ASSERT_EQ(
      Run(VehicleCommand, {"add", "ABC1D23", "--customer", "Jo\xC3\xA3o\x1b[2J\xC2\x9b"}).status,
      kExitOk);
  const Ran ran = Run(VehiclesCommand, {});
  EXPECT_NE(ran.out.find("Jo\xC3\xA3o\\x1b[2J\\xc2\\x9b"), std::string::npos) << ran.out;
}
#endif

}  // namespace
}  // namespace zelk::cli
