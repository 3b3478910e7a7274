// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/restore_points.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "session/data_folder.h"
#include "settings_file/file_io.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using std::chrono::system_clock;

// 2026-12-09 10:15:00 UTC.
const system_clock::time_point kMorning =
    system_clock::time_point(std::chrono::seconds(1796811300));

class RestorePointsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("zelk-restore-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  RestorePoints Store(const fs::path& folder) {
    return RestorePoints(folder, [this] { return now_; });
  }
  static SettingsBlock Block(std::uint8_t fill) {
    SettingsBlock block;
    block.fill(fill);
    return block;
  }

  fs::path dir_;
  system_clock::time_point now_ = kMorning;
};

TEST(UtcTime, AsAFileSaysIt) {
  EXPECT_EQ(UtcTimeText(kMorning), "2026-12-09T10:15:00Z");
  EXPECT_EQ(UtcTimeText(kMorning + milliseconds(999)), "2026-12-09T10:15:00Z");
  EXPECT_EQ(UtcTimeText(system_clock::time_point{}), "1970-01-01T00:00:00Z");
}

TEST_F(RestorePointsTest, NamesCarryASequenceAndTheTime) {
  RestorePoints store = Store(dir_ / "points");  // made on the first save
  const auto saved = [&store](std::uint8_t fill, SaveReason reason) {
    const SavedRestorePoint point = store.Save(Block(fill), "2.10", reason);
    EXPECT_TRUE(point.path) << point.error;
    return point.path.value_or(fs::path()).filename().string();
  };
  EXPECT_EQ(saved(1, SaveReason::before_write), "00000001-2026-12-09T10-15-00.000Z.zelk");
  EXPECT_EQ(saved(2, SaveReason::before_set), "00000002-2026-12-09T10-15-00.000Z.zelk");
  now_ += milliseconds(1234);
  EXPECT_EQ(saved(3, SaveReason::before_restore), "00000003-2026-12-09T10-15-01.234Z.zelk");

  const std::vector<RestorePoint> points = store.List();
  ASSERT_EQ(points.size(), 3u);
  const SaveReason reasons[] = {SaveReason::before_restore, SaveReason::before_set,
                                SaveReason::before_write};
  for (std::size_t i = 0; i < points.size(); ++i) {
    ASSERT_TRUE(points[i].file) << points[i].error;
    EXPECT_EQ(points[i].file->block, Block(static_cast<std::uint8_t>(3 - i)));
    EXPECT_EQ(points[i].file->reason, reasons[i]);
    EXPECT_EQ(points[i].file->module_version, "2.10");
  }
  EXPECT_EQ(points[0].file->saved_at, "2026-12-09T10:15:01Z");
}

TEST_F(RestorePointsTest, KeepsTheNewestHundred) {
  RestorePoints store = Store(dir_);
  ASSERT_TRUE(WriteFileAtomically(dir_ / "mine.zelk", "not a restore point").ok);
  for (int i = 0; i < 105; ++i) {
    ASSERT_TRUE(
        store.Save(Block(static_cast<std::uint8_t>(i)), "2.10", SaveReason::before_write).path);
    now_ += std::chrono::seconds(1);
  }
  const std::vector<RestorePoint> points = store.List();
  ASSERT_EQ(points.size(), kRestorePointsKept);
  EXPECT_EQ(points.front().file->block, Block(104));
  EXPECT_EQ(points.back().file->block, Block(5));
  EXPECT_TRUE(fs::exists(dir_ / "mine.zelk")) << "only the store's own names are dropped";
}

TEST_F(RestorePointsTest, AnUnreadableFileIsListedWithItsReason) {
  RestorePoints store = Store(dir_);
  ASSERT_TRUE(store.Save(Block(7), "2.10", SaveReason::before_write).path);
  ASSERT_TRUE(WriteFileAtomically(dir_ / "2026-12-09T10-16-00.000Z-00.zelk", "{").ok);
  ASSERT_TRUE(WriteFileAtomically(dir_ / "00000007-2026-12-09T10-14-00.000Z.zelk", "{").ok);
  const std::vector<RestorePoint> points = store.List();
  ASSERT_EQ(points.size(), 3u);
  EXPECT_FALSE(points[0].file);
  EXPECT_EQ(points[0].error, "not a settings file: not JSON (error at byte 2)");
  EXPECT_TRUE(points[1].file);
  EXPECT_EQ(points[2].path.filename(), "2026-12-09T10-16-00.000Z-00.zelk") << "unnumbered: oldest";
}

// A PC whose clock was reset saves in the past: the sequence, not the time,
// says which point is newest, and the one just saved is never dropped.
TEST_F(RestorePointsTest, AClockGoneBackDropsTheOldestNotTheNewest) {
  const struct {
    const char* what;
    std::string (*name)(int i);
    const char* dropped;
    const char* saved;
  } cases[] = {
      {"unnumbered names in the future",
       [](int i) {
         char name[64];
         std::snprintf(name, sizeof name, "2099-01-01T00-%02d-%02d.000Z-00.zelk", i / 60, i % 60);
         return std::string(name);
       },
       "2099-01-01T00-00-00.000Z-00.zelk", "00000001-2026-12-09T10-15-00.000Z.zelk"},
      {"numbered names in the future",
       [](int i) {
         char name[64];
         std::snprintf(name, sizeof name, "%08d-2099-01-01T00-00-00.000Z.zelk", i + 1);
         return std::string(name);
       },
       "00000001-2099-01-01T00-00-00.000Z.zelk", "00000101-2026-12-09T10-15-00.000Z.zelk"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const fs::path folder = dir_ / c.what;
    RestorePoints store = Store(folder);
    ASSERT_TRUE(store.Save(Block(0), "2.10", SaveReason::before_write).path);  // makes the folder
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (int i = 0; i < 100; ++i) {
      const std::string contents =
          EncodeSettingsFile(MakeSettingsFile(Block(static_cast<std::uint8_t>(i)), "2.10",
                                              "2099-01-01T00:00:00Z", SaveReason::before_write));
      ASSERT_TRUE(WriteFileAtomically(folder / c.name(i), contents).ok);
    }
    const SavedRestorePoint point = store.Save(Block(0xEE), "2.10", SaveReason::before_set);
    ASSERT_TRUE(point.path) << point.error;
    EXPECT_EQ(point.path->filename(), c.saved);
    EXPECT_TRUE(fs::exists(*point.path));
    EXPECT_FALSE(fs::exists(folder / c.dropped));
    const std::vector<RestorePoint> points = store.List();
    ASSERT_EQ(points.size(), kRestorePointsKept);
    EXPECT_EQ(points.front().path, *point.path);
    EXPECT_EQ(points.front().file->block, Block(0xEE));
    EXPECT_EQ(points.back().file->block, Block(1));
  }
}

// A name another program took meanwhile is never written over: the next number is.
TEST_F(RestorePointsTest, ANameTakenMeanwhileMovesToTheNextNumber) {
  fs::create_directories(dir_ / "00000001-2026-12-09T10-15-00.000Z.zelk");  // not a file: unseen
  RestorePoints store = Store(dir_);
  const SavedRestorePoint point = store.Save(Block(3), "2.10", SaveReason::before_write);
  ASSERT_TRUE(point.path) << point.error;
  EXPECT_EQ(point.path->filename(), "00000002-2026-12-09T10-15-00.000Z.zelk");
}

// Run as root, a read-only folder would still take the file; a folder under a
// regular file can be made by nobody.
TEST_F(RestorePointsTest, AFolderThatCannotBeMadeSaysWhy) {
  ASSERT_TRUE(WriteFileAtomically(dir_ / "plain", "x").ok);
  RestorePoints store = Store(dir_ / "plain" / "restore-points");
  const SavedRestorePoint point = store.Save(Block(1), "2.10", SaveReason::before_write);
  EXPECT_FALSE(point.path);
  EXPECT_EQ(point.error.rfind("cannot make the restore point folder " +
                                  (dir_ / "plain" / "restore-points").string() + ": ",
                              0),
            0u)
      << point.error;
  EXPECT_TRUE(store.List().empty());
}

#ifndef _WIN32
TEST(DataFolderTest, OverrideThenXdgThenHome) {
  const struct {
    const char* zelk;
    const char* xdg;
    const char* home;
    const char* expected;  // nullptr: none
  } cases[] = {
      {"/data/zelk", "/xdg", "/home/u", "/data/zelk/restore-points"},
      {nullptr, "/xdg", "/home/u", "/xdg/programable-zelk/restore-points"},
      {"", "relative", "/home/u", "/home/u/.local/share/programable-zelk/restore-points"},
      {nullptr, nullptr, nullptr, nullptr},
  };
  const auto put = [](const char* name, const char* value) {
    if (value == nullptr) {
      ::unsetenv(name);
    } else {
      ::setenv(name, value, 1);
    }
  };
  const std::string saved_home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
  for (const auto& c : cases) {
    put("ZELK_DATA_DIR", c.zelk);
    put("XDG_DATA_HOME", c.xdg);
    put("HOME", c.home);
    const DataFolder folder = RestorePointFolder();
    if (c.expected == nullptr) {
      EXPECT_FALSE(folder.path);
      EXPECT_EQ(folder.error, "no home folder ($HOME is not set)");
    } else {
      EXPECT_EQ(folder.path, fs::path(c.expected));
    }
  }
  ::unsetenv("ZELK_DATA_DIR");
  ::unsetenv("XDG_DATA_HOME");
  ::setenv("HOME", saved_home.c_str(), 1);
}

TEST(DataFolderTest, TheWindowsChoiceComesFirstUntilTakenBack) {
  ::setenv("ZELK_DATA_DIR", "/data/zelk", 1);
  ChooseDataFolder("/share/workshop");
  EXPECT_EQ(UserDataFolder().path, fs::path("/share/workshop"));
  EXPECT_EQ(VehiclesFolder().path, fs::path("/share/workshop/vehicles"));
  EXPECT_EQ(RestorePointFolder().path, fs::path("/share/workshop/restore-points"));
  ChooseDataFolder("relative/folder");  // no choice: the variable again
  EXPECT_EQ(UserDataFolder().path, fs::path("/data/zelk"));
  ChooseDataFolder("/share/workshop");
  ChooseDataFolder({});
  EXPECT_EQ(UserDataFolder().path, fs::path("/data/zelk"));
  ::unsetenv("ZELK_DATA_DIR");
}
#endif

}  // namespace
}  // namespace zelk
