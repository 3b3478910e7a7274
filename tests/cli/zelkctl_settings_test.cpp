// SPDX-License-Identifier: GPL-3.0-or-later
// zelkctl's settings commands as a technician runs them, on zelk-sim: back
// up, change, compare, go back; refused files and assignments that never
// reach the module; restore points that stay when the module stops answering.
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

class ZelkctlSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        fs::temp_directory_path() / ("zelkctl-settings-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir_);
    data_ = dir_ / "data";
  }
  void TearDown() override { fs::remove_all(dir_); }

  bool StartSim(const std::vector<std::string>& args = {}) {
    std::string error;
    const bool started = sim_.Start(args, error);
    EXPECT_TRUE(started) << error;
    return started;
  }

  // zelkctl with the test's data folder; `port` adds --port with the sim's link.
  ProcessOutput Run(std::vector<std::string> args, bool port = true) {
    if (port) args.insert(args.begin(), {"--port", sim_.link()});
    args.insert(args.begin(), {"/usr/bin/env", "ZELK_DATA_DIR=" + data_.string(), g_zelkctl});
    return RunProcess(args, "", 60s);
  }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(dir_ / name) << text;
  }
  // The module's block, from a backup to standard output.
  std::string ModuleBlock() {
    const ProcessOutput run = Run({"backup", "-"});
    EXPECT_EQ(run.exit_code, 0) << run.err;
    std::smatch match;
    const std::regex block("\"block\": \"([0-9a-f]{50})\"");
    return std::regex_search(run.out, match, block) ? match[1].str() : std::string();
  }
  std::size_t RestorePointCount() const {
    const fs::path folder = data_ / "restore-points";
    if (!fs::exists(folder)) return 0;
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
  }

  SimProcess sim_{g_sim};
  fs::path dir_;
  fs::path data_;
};

// The vehicle on the bench keeps every restore point of its writes; an
// unknown vehicle stops the command before anything reaches the module.
TEST_F(ZelkctlSettings, RestorePointsGoIntoTheVehicleOnTheBench) {
  ASSERT_TRUE(StartSim());
  ASSERT_EQ(Run({"vehicle", "add", "ABC1D23"}, false).exit_code, 0);
  const std::string before = ModuleBlock();

  const ProcessOutput unknown = Run({"--vehicle", "XYZ9999", "set", "temp_corr=40"});
  EXPECT_EQ(unknown.exit_code, 2);
  EXPECT_EQ(unknown.err, "zelkctl: no vehicle 'XYZ9999' (zelkctl vehicles lists them)\n");
  EXPECT_EQ(ModuleBlock(), before);

  for (const char* value : {"temp_corr=40", "temp_corr=45"}) {
    const ProcessOutput set = Run({"--vehicle", "abc1d23", "set", value});
    ASSERT_EQ(set.exit_code, 0) << set.err;
    EXPECT_NE(set.out.find(data_.string() + "/vehicles/abc1d23-"), std::string::npos) << set.out;
  }
  EXPECT_EQ(RestorePointCount(), 0u);  // none among the restore points of no vehicle

  const ProcessOutput points = Run({"--vehicle", "ABC1D23", "restore-points"}, false);
  ASSERT_EQ(points.exit_code, 0) << points.err;
  const std::regex listing(
      "\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ  2\\.10   before-set      .*\\.zelk\n"
      "\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ  2\\.10   before-set      .*\\.zelk\n");
  EXPECT_TRUE(std::regex_match(points.out, listing)) << points.out;
  // The older one holds the block as it was before the first set.
  const ProcessOutput oldest =
      Run({"diff", points.out.substr(points.out.rfind(' ') + 1,
                                     points.out.size() - points.out.rfind(' ') - 2)});
  EXPECT_EQ(oldest.exit_code, 3) << oldest.err;
  EXPECT_NE(oldest.out.find("temp_corr       45         35"), std::string::npos) << oldest.out;
}

TEST_F(ZelkctlSettings, AProgramRunIsRecordedInTheVehicle) {
  ASSERT_TRUE(StartSim());
  ASSERT_EQ(Run({"vehicle", "add", "ABC1D23"}, false).exit_code, 0);
  EXPECT_EQ(Run({"--vehicle", "XYZ9999", "program", "reset"}).exit_code, 2);
  const ProcessOutput reset = Run({"--vehicle", "ABC1D23", "program", "reset"});
  ASSERT_EQ(reset.exit_code, 0) << reset.err;
  const ProcessOutput shown = Run({"vehicle", "show", "ABC1D23"}, false);
  ASSERT_EQ(shown.exit_code, 0) << shown.err;
  const std::regex run(
      "(.|\n)*\n\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ\tprogram-run\treset "
      "completed\t\t\\S+\\.program\\.json\n");
  EXPECT_TRUE(std::regex_match(shown.out, run)) << shown.out;
  EXPECT_NE(shown.out.find("history: 1 record(s)"), std::string::npos) << shown.out;
}

TEST_F(ZelkctlSettings, BackUpChangeCompareAndGoBack) {
  ASSERT_TRUE(StartSim());
  const ProcessOutput backup = Run({"backup", Path("before.zelk")});
  ASSERT_EQ(backup.exit_code, 0) << backup.err;
  EXPECT_EQ(backup.out, "saved " + Path("before.zelk") + "\n");
  const std::string before = ModuleBlock();

  const ProcessOutput set = Run({"set", "tempo_partida=1230", "heat_en=false", "rpm_adj=900"});
  ASSERT_EQ(set.exit_code, 0) << set.err;
  EXPECT_TRUE(std::regex_match(set.out, std::regex("set; restore point .*\\.zelk\n"))) << set.out;

  const ProcessOutput changed = Run({"diff", Path("before.zelk")});
  EXPECT_EQ(changed.exit_code, 3) << changed.err;
  EXPECT_EQ(changed.out, "setting         module     " + Path("before.zelk") +
                             "\n"
                             "tempo_partida   1230       1000\n"
                             "rpm_adj         900        850\n"
                             "heat_en         false      true\n");

  const ProcessOutput restored = Run({"restore", Path("before.zelk")});
  ASSERT_EQ(restored.exit_code, 0) << restored.err;
  EXPECT_EQ(ModuleBlock(), before);
  const ProcessOutput same = Run({"diff", Path("before.zelk")});
  EXPECT_EQ(same.exit_code, 0) << same.err;
  EXPECT_EQ(same.out, "no difference\n");

  // Newest first: the block before the restore (as set), then the one before the set.
  const ProcessOutput points = Run({"restore-points"}, false);
  ASSERT_EQ(points.exit_code, 0) << points.err;
  const std::regex listing(
      "\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ  2\\.10   before-restore  .*\\.zelk\n"
      "\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ  2\\.10   before-set      .*\\.zelk\n");
  EXPECT_TRUE(std::regex_match(points.out, listing)) << points.out;

  // The restore point before the set (the older name) holds the block as it was read then.
  std::vector<fs::path> names;
  for (const auto& entry : fs::directory_iterator(data_ / "restore-points")) {
    names.push_back(entry.path());
  }
  std::sort(names.begin(), names.end());
  ASSERT_EQ(names.size(), 2u);
  const ProcessOutput first_point = Run({"diff", Path("before.zelk"), names[0].string()}, false);
  EXPECT_EQ(first_point.exit_code, 0) << first_point.out << first_point.err;
  EXPECT_EQ(Run({"diff", Path("before.zelk"), names[1].string()}, false).exit_code, 3);
}

TEST_F(ZelkctlSettings, ReadShowsTheTableOrTheFile) {
  ASSERT_TRUE(StartSim({"--module-version", "3.7"}));
  const ProcessOutput table = Run({"read"});
  ASSERT_EQ(table.exit_code, 0) << table.err;
  EXPECT_NE(table.out.find("tempo_partida   1000       ms\n"), std::string::npos) << table.out;
  EXPECT_NE(table.out.find("rpm_adj         850        RPM\n"), std::string::npos) << table.out;
  EXPECT_NE(table.out.find("banda_larga     false\n"), std::string::npos) << table.out;

  const ProcessOutput json = Run({"read", "--json"});
  ASSERT_EQ(json.exit_code, 0) << json.err;
  EXPECT_NE(json.out.find("\"module_version\": \"3.7\""), std::string::npos) << json.out;
  Write("read.zelk", json.out);
  EXPECT_EQ(Run({"diff", Path("read.zelk")}).exit_code, 0) << "the JSON is a file diff reads";
}

TEST_F(ZelkctlSettings, RefusedFilesAndAssignmentsReachNothing) {
  ASSERT_TRUE(StartSim());
  const std::string before = ModuleBlock();
  Write("newer.zelk", R"({"format": "zelk-settings", "format_version": 2, "settings": {}})");
  Write("typo.zelk", R"({"format": "zelk-settings", "format_version": 1,
                        "settings": {"tempo_partida": 1000, "heat": true}})");
  Write("range.zelk", R"({"format": "zelk-settings", "format_version": 1,
                         "settings": {"tempo_partida": 4001}})");
  Write("text.zelk", "tempo_partida=1000\n");
  const struct {
    std::vector<std::string> args;
    std::string error;
  } cases[] = {
      {{"restore", Path("newer.zelk")},
       Path("newer.zelk") + ": format_version 2 is newer than this program reads (up to 1)"},
      {{"restore", Path("typo.zelk")}, Path("typo.zelk") + ": unknown setting \"heat\""},
      {{"restore", Path("range.zelk")},
       Path("range.zelk") + ": tempo_partida: This value must be between 0 and 4000!"},
      {{"restore", Path("text.zelk")},
       Path("text.zelk") + ": not a settings file: not JSON (error at byte 2)"},
      {{"restore", Path("missing.zelk")}, Path("missing.zelk") + ": cannot be opened"},
      {{"set", "tempo_partida=5000"}, "tempo_partida: This value must be between 0 and 4000!"},
      {{"set", "temp_max_cold=17.5"}, "temp_max_cold: 17.5 is not a whole number"},
      {{"set", "sonda_en=yes"}, "sonda_en: 'yes' is not true or false"},
      {{"set", "limite_corr=30", "porc_mistura=31"},
       "porc_mistura: This value must be between 10 and Max Correction Value(%)!"},
      {{"set", "map_prg=true"}, "unknown setting 'map_prg'"},
      {{"set"}, "set needs NAME=VALUE"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + (c.args.size() > 1 ? c.args[1] : ""));
    const ProcessOutput run = Run(c.args);
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_EQ(run.err, "zelkctl: " + c.error + "\n");
    // Checked before the port is opened: the same answer without a module.
    std::vector<std::string> no_module = c.args;
    no_module.insert(no_module.begin(), {"--port", Path("no-such-port")});
    const ProcessOutput offline = Run(no_module, false);
    EXPECT_EQ(offline.err, "zelkctl: " + c.error + "\n");
  }
  EXPECT_EQ(ModuleBlock(), before);
  EXPECT_EQ(RestorePointCount(), 0u);
}

// The start mix is checked against the module's own correction limit once it is read.
TEST_F(ZelkctlSettings, StartMixAboveTheModulesLimitIsNotWritten) {
  ASSERT_TRUE(StartSim());
  ASSERT_EQ(Run({"set", "limite_corr=30"}).exit_code, 0);
  const std::string before = ModuleBlock();
  const ProcessOutput run = Run({"set", "porc_mistura=31"});
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_EQ(run.err,
            "zelkctl: porc_mistura: This value must be between 10 and Max Correction Value(%)!; "
            "nothing was written\n");
  EXPECT_EQ(ModuleBlock(), before);
  EXPECT_EQ(RestorePointCount(), 1u) << "only the first set's";
}

TEST_F(ZelkctlSettings, NoRestorePointNoWrite) {
  ASSERT_TRUE(StartSim());
  const std::string before = ModuleBlock();
  std::ofstream(dir_ / "plain") << "a file where the data folder would be";
  data_ = dir_ / "plain" / "data";
  const ProcessOutput run = Run({"set", "tempo_partida=1230"});
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_TRUE(std::regex_search(
      run.err,
      std::regex("^zelkctl: cannot make the restore point folder .*; nothing was written\n$")))
      << run.err;
  EXPECT_EQ(ModuleBlock(), before);
}

// Answered: version, settings, write; then the line hangs up before the read back.
TEST_F(ZelkctlSettings, ModuleGoneBeforeTheReadBack) {
  ASSERT_TRUE(StartSim({"--fault", "hangup-after=3"}));
  const ProcessOutput run = Run({"set", "tempo_partida=1230"});
  EXPECT_EQ(run.exit_code, 1) << run.err;
  EXPECT_TRUE(std::regex_search(
      run.err, std::regex("the settings were sent, but reading them back: Communication Fail; "
                          "restore point .*\\.zelk")))
      << run.err;
  EXPECT_EQ(RestorePointCount(), 1u);
  const ProcessOutput points = Run({"restore-points"}, false);
  EXPECT_NE(points.out.find("before-set"), std::string::npos) << points.out;
}

TEST_F(ZelkctlSettings, SilentModuleIsACommunicationFailure) {
  ASSERT_TRUE(StartSim({"--fault", "silent"}));
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"read"}, {"backup", Path("b.zelk")}, {"set", "heat_en=true"}}) {
    const ProcessOutput run = Run(args);
    EXPECT_EQ(run.exit_code, 1) << args[0];
    EXPECT_EQ(run.err, "zelkctl: asking the module's version: Communication Fail\n") << args[0];
  }
  EXPECT_FALSE(fs::exists(dir_ / "b.zelk"));
  EXPECT_EQ(RestorePointCount(), 0u);
}

TEST_F(ZelkctlSettings, DiffOfTwoFilesNeedsNoModule) {
  Write("a.zelk", R"({"format": "zelk-settings", "format_version": 1,
                     "settings": {"tempo_partida": 1000, "heat_en": true, "temp_corr": 40}})");
  Write("b.zelk", R"({"format": "zelk-settings", "format_version": 1,
                     "settings": {"tempo_partida": 1200, "heat_en": true}})");
  const ProcessOutput differ = Run({"diff", Path("a.zelk"), Path("b.zelk")}, false);
  EXPECT_EQ(differ.exit_code, 3) << differ.err;
  EXPECT_EQ(differ.out, "setting         " + Path("b.zelk") + " " + Path("a.zelk") +
                            "\ntempo_partida   1200       1000\n");
  EXPECT_EQ(Run({"diff", Path("a.zelk"), Path("a.zelk")}, false).exit_code, 0);
  const ProcessOutput alone = Run({"diff", Path("a.zelk")}, false);
  EXPECT_EQ(alone.exit_code, 2);
  EXPECT_EQ(alone.err,
            "zelkctl: diff FILE compares with the module: give --port NAME, or a FILE2\n");
}

std::string FileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(ZelkctlSettings, EditChangesAFileWithNoModule) {
  ASSERT_TRUE(StartSim());
  ASSERT_EQ(Run({"backup", Path("car.zelk")}).exit_code, 0);
  const std::string block = ModuleBlock();

  // In place: the changed settings differ, the module's own bytes and the
  // version stay.
  const ProcessOutput edited =
      Run({"edit", Path("car.zelk"), "tempo_partida=1230", "heat_en=false"}, false);
  ASSERT_EQ(edited.exit_code, 0) << edited.err;
  EXPECT_EQ(edited.out, "saved " + Path("car.zelk") + "\n");
  const std::string text = FileText(Path("car.zelk"));
  EXPECT_NE(text.find("\"module_version\": \"2.10\""), std::string::npos) << text;
  const ProcessOutput diff = Run({"diff", Path("car.zelk")});
  EXPECT_EQ(diff.exit_code, 3);
  EXPECT_EQ(diff.out, "setting         module     " + Path("car.zelk") +
                          "\n"
                          "tempo_partida   1000       1230\n"
                          "heat_en         true       false\n");
  // The module's bytes of the block (offsets 1, 2 and the status bits) as backed up.
  std::smatch match;
  ASSERT_TRUE(std::regex_search(text, match, std::regex("\"block\": \"([0-9a-f]{50})\"")));
  EXPECT_EQ(match[1].str().substr(2, 4), block.substr(2, 4));
  EXPECT_EQ(match[1].str()[1], block[1]);  // status bits 0-3

  // To another file: the first stays as it is.
  const ProcessOutput other =
      Run({"edit", Path("car.zelk"), "rpm_adj=900", "-o", Path("b.zelk")}, false);
  ASSERT_EQ(other.exit_code, 0) << other.err;
  EXPECT_EQ(FileText(Path("car.zelk")), text);
  const ProcessOutput between = Run({"diff", Path("car.zelk"), Path("b.zelk")}, false);
  EXPECT_EQ(between.out, "setting         " + Path("b.zelk") + " " + Path("car.zelk") +
                             "\nrpm_adj         900        850\n");
}

TEST_F(ZelkctlSettings, RestoreOfAnotherMajorVersionNeedsForce) {
  ASSERT_TRUE(StartSim());
  ASSERT_EQ(Run({"backup", Path("car.zelk")}).exit_code, 0);
  ASSERT_EQ(Run({"edit", Path("car.zelk"), "tempo_partida=1230"}, false).exit_code, 0);
  std::string text = FileText(Path("car.zelk"));
  text.replace(text.find("\"2.10\""), 6, "\"3.1\"");
  Write("v3.zelk", text);
  const std::string before = ModuleBlock();
  const ProcessOutput refused = Run({"restore", Path("v3.zelk")});
  EXPECT_EQ(refused.exit_code, 2);
  EXPECT_EQ(refused.err,
            "zelkctl: the file is for module version 3.1, the module is version 2.10; nothing "
            "was written (--force writes it anyway)\n");
  EXPECT_EQ(ModuleBlock(), before);
  const ProcessOutput forced = Run({"restore", "--force", Path("v3.zelk")});
  EXPECT_EQ(forced.exit_code, 0) << forced.err;
  EXPECT_NE(ModuleBlock(), before);
}

TEST_F(ZelkctlSettings, EditRefusesAndChangesNothing) {
  Write("hand.zelk", R"({"format": "zelk-settings", "format_version": 1,
                        "settings": {"limite_corr": 40}})");
  const std::string before = FileText(Path("hand.zelk"));
  const struct {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{"tempo_partida=99999"}, "tempo_partida: "},
      {{"porc_mistura=45"}, "porc_mistura: "},  // above the file's limite_corr of 40
      {{"tempo_ajuste=10.5"}, "tempo_ajuste: 10.5 is not a whole number"},
      {{"nosuch=1"}, "nosuch"},
      {{"heat_en=maybe"}, "heat_en"},
      {{}, "edit needs NAME=VALUE"},
      {{"tempo_partida=1200", "-o"}, "-o needs a file"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"edit", Path("hand.zelk")};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ProcessOutput run = Run(args, false);
    EXPECT_EQ(run.exit_code, 2) << c.err;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    EXPECT_EQ(FileText(Path("hand.zelk")), before) << c.err;
  }
  EXPECT_EQ(Run({"edit", Path("missing.zelk"), "heat_en=true"}, false).exit_code, 2);

  // A hand-written file stays one: it names what it changes, no block appears.
  const ProcessOutput good = Run({"edit", Path("hand.zelk"), "porc_mistura=30"}, false);
  ASSERT_EQ(good.exit_code, 0) << good.err;
  const std::string text = FileText(Path("hand.zelk"));
  EXPECT_EQ(text.find("\"block\""), std::string::npos) << text;
  EXPECT_NE(text.find("\"porc_mistura\": 30"), std::string::npos) << text;
  EXPECT_NE(text.find("\"limite_corr\": 40"), std::string::npos) << text;
}

}  // namespace
}  // namespace zelk::testing
