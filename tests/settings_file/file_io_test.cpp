// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_file/file_io.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "monitor/log_export.h"
#include "settings_file/log_export_file.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace zelk {
namespace {

namespace fs = std::filesystem;

class FileIo : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("zelk-file-io-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::size_t Entries() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {}));
  }

  fs::path dir_;
};

TEST_F(FileIo, WritesReplacesAndKeeps) {
  const fs::path path = dir_ / "a.zelk";
  ASSERT_TRUE(WriteFileAtomically(path, "first").ok);
  EXPECT_EQ(ReadSmallFile(path).contents, "first");
  ASSERT_TRUE(WriteFileAtomically(path, "second").ok);
  EXPECT_EQ(ReadSmallFile(path).contents, "second");

  const FileWrite kept = WriteFileAtomically(path, "third", ExistingFile::keep);
  EXPECT_FALSE(kept.ok);
  EXPECT_TRUE(kept.exists);
  EXPECT_EQ(ReadSmallFile(path).contents, "second");
  ASSERT_TRUE(WriteFileAtomically(dir_ / "b.zelk", "new", ExistingFile::keep).ok);
  EXPECT_EQ(Entries(), 2u);  // no temporary file left behind
}

TEST_F(FileIo, RefusedWritesSayWhyAndLeaveNothing) {
  const fs::path blocker = dir_ / "plain-file";
  ASSERT_TRUE(WriteFileAtomically(blocker, "x").ok);
  for (const fs::path& path : {blocker / "a.zelk", dir_ / "missing" / "a.zelk"}) {
    const FileWrite write = WriteFileAtomically(path, "contents");
    EXPECT_FALSE(write.ok);
    EXPECT_FALSE(write.exists);
    EXPECT_EQ(write.error.rfind(path.string() + ": ", 0), 0u) << write.error;
  }
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(FileIo, ALogExportedForASpreadsheet) {
  std::istringstream in(
      "time_s,wall_clock,rpm,injection_ms,correction_pct,temperature_c,map_v,lambda_mv,status,raw\n"
      "0.000,2026-12-09T10:15:00.123Z,750,1.5,109,21,0.98,1176,ok,50c3\n");
  std::string error;
  const std::optional<LogData> log = ParseLog(in, error);
  ASSERT_TRUE(log) << error;
  const fs::path path = dir_ / "drive.csv";
  ASSERT_TRUE(WriteFileAtomically(path, "an older export").ok);
  ASSERT_TRUE(ExportLogForSpreadsheet(path, *log, 0, 1, ";", ",").ok);
  EXPECT_EQ(ReadSmallFile(path).contents, SpreadsheetLogText(*log, 0, 1, ";", ","));
  EXPECT_NE(ReadSmallFile(path).contents.find("750;1,5;109;21;0,98;1176;ok"), std::string::npos);
  const FileWrite refused =
      ExportLogForSpreadsheet(dir_ / "missing" / "x.csv", *log, 0, 1, ";", ",");
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(FileIo, ReadsSmallFilesOnly) {
  const fs::path path = dir_ / "a.zelk";
  ASSERT_TRUE(WriteFileAtomically(path, std::string(5000, 'x')).ok);
  EXPECT_EQ(ReadSmallFile(path, 5000).contents.size(), 5000u);
  const FileRead large = ReadSmallFile(path, 4999);
  EXPECT_FALSE(large.ok);
  EXPECT_EQ(large.error, path.string() + ": larger than 4999 bytes");
  EXPECT_EQ(ReadSmallFile(dir_ / "none").error, (dir_ / "none").string() + ": cannot be opened");
  EXPECT_EQ(ReadSmallFile(dir_).error, dir_.string() + ": is a folder");
}

#ifndef _WIN32
// Opened without waiting and refused by name: a FIFO with no writer (an open
// that waited would hang here), a device, a folder.
TEST_F(FileIo, ReadsRegularFilesOnly) {
  const fs::path fifo = dir_ / "fifo.zelk";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const struct {
    fs::path path;
    const char* says;
  } cases[] = {
      {fifo, ": is not a regular file"},
      {"/dev/null", ": is not a regular file"},
      {dir_, ": is a folder"},
  };
  for (const auto& c : cases) {
    const FileRead read = ReadSmallFile(c.path);
    EXPECT_FALSE(read.ok) << c.path;
    EXPECT_EQ(read.error, c.path.string() + c.says);
  }
  // Nor is one written over.
  const FileWrite write = WriteFileAtomically(fifo, "contents");
  EXPECT_FALSE(write.ok);
  EXPECT_EQ(write.error, fifo.string() + ": is not a regular file");
}
#endif

}  // namespace
}  // namespace zelk
