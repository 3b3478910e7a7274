// SPDX-License-Identifier: GPL-3.0-or-later
// The settings commands in-process: the exact texts they print, and a module
// whose read back is not what was written, over a scripted line.
#include "cli/settings_commands.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "cli/commands.h"
#include "support/scripted_line.h"

namespace zelk::cli {
namespace {

namespace fs = std::filesystem;
using zelk::testing::Bytes;
using zelk::testing::LineScript;

// The simulated module's block: tempo_partida 1000 ms, rpm_adj 850, heat_en and sonda_en.
const Bytes kBlock{0x90, 0x0a, 0x20, 0x20, 0x56, 0xac, 0x14, 0x05, 0xc8, 0x00, 0x3c, 0x0f, 0xc4,
                   0x04, 0x18, 0x5b, 0x5b, 0x83, 0xfa, 0x00, 0x00, 0x06, 0x17, 0x7d, 0xee};

Bytes Reply(const Bytes& payload) {
  // Byte by byte: GCC 12 at -O3 warns falsely on inserting into a short vector.
  Bytes bytes(2, 0);
  for (const std::uint8_t b : payload) bytes.push_back(b);
  bytes.push_back(FrameChecksum(bytes));
  return bytes;
}

class SettingsCommandsTest : public ::testing::Test {
 protected:
  SettingsCommandsTest() : session(zelk::testing::ScriptedOpener(script)) {}
  void SetUp() override {
    dir =
        fs::temp_directory_path() / ("zelk-cli-settings-" + std::to_string(std::random_device{}()));
    ASSERT_TRUE(OpenPortOrSay(session, "SIM", err));
  }
  void TearDown() override { fs::remove_all(dir); }

  std::shared_ptr<LineScript> script = std::make_shared<LineScript>();
  Session session;
  fs::path dir;
  std::ostringstream out;
  std::ostringstream err;
};

TEST_F(SettingsCommandsTest, ReadPrintsEverySettingWithItsUnit) {
  script->Reply(Reply({2, 10}));
  script->Reply(Reply(kBlock));
  EXPECT_EQ(RunRead(session, false, out, err), kExitOk) << err.str();
  EXPECT_EQ(out.str(),
            "tempo_partida   1000       ms\n"
            "temp_max_cold   20         C\n"
            "porc_mistura    37.5       %\n"
            "injecao_extra   9.375      %\n"
            "temp_max_extra  35         C\n"
            "limite_corr     50         %\n"
            "temp_corr       35         C\n"
            "tempo_ajuste    49         s\n"
            "valor_lambda    450        mV\n"
            "var_inicial     200        us\n"
            "tempo_extra     0          %\n"
            "rpm_adj         850        RPM\n"
            "heat_en         true\n"
            "sonda_en        true\n"
            "acel_rapida_en  false\n"
            "banda_larga     false\n");
}

TEST_F(SettingsCommandsTest, AReadBackThatDiffersExitsWithThree) {
  Bytes other = kBlock;
  other[12] = 0xDC;  // tempo_partida 1230 on the module after all
  other[13] = 0x05;
  script->Reply(Reply({2, 10}));
  script->Reply(Reply(kBlock));
  script->Reply(Reply({}));  // the write
  script->Reply(Reply(other));
  script->Reply(Reply(Bytes(10, 0)));  // the snapshot after the read back
  FileSettings change;
  change.values[kTempCorr] = 40;
  RestorePoints points(dir);
  EXPECT_EQ(RunSet(session, change, points, out, err), kExitDiffers);
  EXPECT_EQ(out.str(),
            "setting         written    read back\n"
            "tempo_partida   1000       1230\n"
            "temp_corr       40         35\n");
  EXPECT_NE(
      err.str().find("zelkctl: the module does not hold the settings written; restore point "),
      std::string::npos)
      << err.str();
  const std::vector<RestorePoint> listed = points.List();
  ASSERT_EQ(listed.size(), 1u);
  const SettingsBlock& kept = *listed[0].file->block;
  EXPECT_EQ(Bytes(kept.begin(), kept.end()), kBlock);
}

TEST_F(SettingsCommandsTest, RestorePointsListing) {
  RestorePoints empty(dir / "none");
  EXPECT_EQ(RunRestorePoints(empty, out), kExitOk);
  EXPECT_EQ(out.str(), "no restore points in " + (dir / "none").string() + "\n");

  out.str("");
  const auto morning = std::chrono::system_clock::time_point(std::chrono::seconds(1796811300));
  RestorePoints points(dir, [morning] { return morning; });
  SettingsBlock block{};
  std::copy(kBlock.begin(), kBlock.end(), block.begin());
  const auto first = points.Save(block, "2.10", SaveReason::before_write);
  const auto second = points.Save(block, "2.9", SaveReason::before_set);
  ASSERT_TRUE(first.path && second.path);
  EXPECT_EQ(RunRestorePoints(points, out), kExitOk);
  EXPECT_EQ(out.str(), "2026-12-09T10:15:00Z  2.9    before-set      " + second.path->string() +
                           "\n2026-12-09T10:15:00Z  2.10   before-write    " +
                           first.path->string() + "\n");
}

}  // namespace
}  // namespace zelk::cli
