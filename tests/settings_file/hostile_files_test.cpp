// SPDX-License-Identifier: GPL-3.0-or-later
// Settings files made to hurt the reader: nesting that would overflow the
// stack when a value is printed, objects whose ordered keys would make the
// reading quadratic, keys given twice, NUL bytes, version numbers beyond a
// signed 64-bit integer. Each is refused with its reason; a file that merely
// looks odd (a byte order mark) still reads. And a save over a name that is
// no file leaves that name as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "settings_file/file_io.h"
#include "settings_file/settings_file.h"
#include "settings_file/settings_overlay.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace zelk {
namespace {

std::string Header(const std::string& rest) {
  return R"({"format": "zelk-settings", "format_version": 1)" + rest + "}";
}

std::string Nested(std::size_t depth) {
  return std::string(depth, '[') + std::string(depth, ']');
}

// `count` members "k0": 0, "k1": 0, ... separated by commas.
std::string Members(std::size_t count) {
  std::string members;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) members += ", ";
    members += "\"k" + std::to_string(i) + "\": 0";
  }
  return members;
}

TEST(HostileSettingsFiles, AreRefusedWithTheirReason) {
  const struct {
    const char* name;
    std::string text;
    std::string error;
  } cases[] = {
      {"format nested 200000 deep", R"({"format": )" + Nested(200000) + R"(, "format_version": 1})",
       "not a settings file: nested more than 8 levels deep"},
      {"a setting nested 200000 deep",
       Header(R"(, "settings": {"tempo_partida": )" + Nested(200000) + "}"),
       "not a settings file: nested more than 8 levels deep"},
      {"objects nested 9 deep",
       Header(R"(, "x": {"a": {"a": {"a": {"a": {"a": {"a": {"a": {}}}}}}}})"),
       "not a settings file: nested more than 8 levels deep"},
      {"50000 members", "{" + Members(50000) + "}",
       "not a settings file: an object with more than 200 members"},
      {"201 members", Header(", " + Members(198) + R"(, "settings": {"tempo_partida": 1000})"),
       "not a settings file: an object with more than 200 members"},
      {"50000 settings", Header(R"(, "settings": {)" + Members(50000) + "}"),
       "not a settings file: an object with more than 200 members"},
      {"a setting given twice",
       Header(R"(, "settings": {"tempo_partida": 1000, "tempo_partida": 99999})"),
       "not a settings file: the key \"tempo_partida\" is given twice"},
      {"format_version given twice", Header(R"(, "format_version": 2, "settings": {})"),
       "not a settings file: the key \"format_version\" is given twice"},
      {"a long key given twice, shortened",
       Header(", \"" + std::string(100, 'x') + "\": 1, \"" + std::string(100, 'x') + "\": 2"),
       "not a settings file: the key \"" + std::string(40, 'x') + "...\" is given twice"},
      {"a NUL byte after the document",
       Header(R"(, "settings": {"tempo_partida": 1000})") + std::string(1, '\0') + "junk",
       "not a settings file: a NUL byte at byte 86"},
      {"a NUL byte inside", std::string("{\"format\"\0", 10),
       "not a settings file: a NUL byte at byte 10"},
      {"format_version 2^63",
       R"({"format": "zelk-settings", "format_version": 9223372036854775808})",
       "format_version 9223372036854775808 is newer than this program reads (up to 1)"},
      {"format_version 2^64 - 1",
       R"({"format": "zelk-settings", "format_version": 18446744073709551615})",
       "format_version 18446744073709551615 is newer than this program reads (up to 1)"},
      {"format_version -2^63",
       R"({"format": "zelk-settings", "format_version": -9223372036854775808})",
       "format_version -9223372036854775808 is not valid"},
  };
  for (const auto& test : cases) {
    const DecodedSettingsFile decoded = DecodeSettingsFile(test.text);
    EXPECT_FALSE(decoded.file) << test.name;
    EXPECT_EQ(decoded.error, test.error) << test.name;
  }
}

TEST(HostileSettingsFiles, OddButHarmlessFilesRead) {
  const struct {
    const char* name;
    std::string text;
  } cases[] = {
      {"a byte order mark", "\xEF\xBB\xBF" + Header(R"(, "settings": {"tempo_partida": 1000})")},
      {"200 members, unknown ones ignored",
       Header(", " + Members(197) + R"(, "settings": {"tempo_partida": 1000})")},
      {"nested 8 deep in an ignored key", Header(", \"x\": " + Nested(7) + R"(, "settings": {})")},
      {"the same key in two objects",
       Header(R"(, "x": {"settings": 1}, "settings": {"tempo_partida": 1000})")},
  };
  for (const auto& test : cases) {
    const DecodedSettingsFile decoded = DecodeSettingsFile(test.text);
    EXPECT_TRUE(decoded.file) << test.name << ": " << decoded.error;
  }
}

// An idle speed no module reading can show (the window's buttons stay
// between 600 and 1500) reaches the module only as a period it can hold.
TEST(HostileSettingsFiles, AnIdleSpeedBeyondThePeriodWordWritesNothing) {
  SettingsBlock module{};
  module[kIdlePeriodOffset] = 0x24;  // 62500: 600 RPM
  module[kIdlePeriodOffset + 1] = 0xF4;
  const struct {
    const char* rpm;
    std::string error;
  } cases[] = {
      {"1e308", "rpm_adj: Idle RPM 1e+308 is too high: the module's idle period would be 0"},
      {"4294967296",
       "rpm_adj: Idle RPM 4294967296 is too high: the module's idle period would be 0"},
      {"75000001", "rpm_adj: Idle RPM 75000001 is too high: the module's idle period would be 0"},
      {"0.5",
       "rpm_adj: Idle RPM 0.5 is too low: the module's idle period would be 75000000, beyond "
       "65535"},
  };
  for (const auto& test : cases) {
    const DecodedSettingsFile decoded =
        DecodeSettingsFile(Header(std::string(R"(, "settings": {"rpm_adj": )") + test.rpm + "}"));
    ASSERT_TRUE(decoded.file) << test.rpm << ": " << decoded.error;
    const AppliedSettings applied = ApplySettingsFile(*decoded.file, module);
    EXPECT_FALSE(applied.block) << test.rpm;
    EXPECT_EQ(applied.error, test.error);
  }
  const DecodedSettingsFile highest =
      DecodeSettingsFile(Header(R"(, "settings": {"rpm_adj": 37500000})"));
  ASSERT_TRUE(highest.file);
  const AppliedSettings applied = ApplySettingsFile(*highest.file, module);
  ASSERT_TRUE(applied.block) << applied.error;
  EXPECT_EQ((*applied.block)[kIdlePeriodOffset], 1);
  EXPECT_EQ((*applied.block)[kIdlePeriodOffset + 1], 0);
}

#ifndef _WIN32
TEST(HostileSaveTargets, ADeviceOrPipeOfTheNameStaysAsItWas) {
  namespace fs = std::filesystem;
  const fs::path dir =
      fs::temp_directory_path() / ("zelk-hostile-save-" + std::to_string(std::random_device{}()));
  fs::create_directories(dir / "folder");
  const fs::path pipe = dir / "pipe.zelk";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);

  const struct {
    fs::path path;
    std::string error;
    fs::file_type stays;
  } cases[] = {
      {pipe, pipe.string() + ": is not a regular file", fs::file_type::fifo},
      {dir / "folder", (dir / "folder").string() + ": is a folder", fs::file_type::directory},
  };
  for (const auto& test : cases) {
    const FileWrite written = WriteFileAtomically(test.path, "contents");
    EXPECT_FALSE(written.ok) << test.path;
    EXPECT_EQ(written.error, test.error);
    EXPECT_EQ(fs::symlink_status(test.path).type(), test.stays) << test.path;
  }
  // Nothing else was left in the folder: no temporary file.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 2);
  fs::remove_all(dir);
}

TEST(HostileSaveTargets, ANameOfTheLongestLengthIsSaved) {
  namespace fs = std::filesystem;
  const fs::path dir =
      fs::temp_directory_path() / ("zelk-hostile-save-" + std::to_string(std::random_device{}()));
  fs::create_directories(dir);
  for (const std::size_t length : {240u, 241u, 250u, 255u}) {
    const fs::path path = dir / (std::string(length - 5, 'a') + ".zelk");
    const FileWrite written = WriteFileAtomically(path, "contents");
    EXPECT_TRUE(written.ok) << length << ": " << written.error;
    EXPECT_EQ(ReadSmallFile(path).contents, "contents") << length;
    fs::remove(path);
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 0);
  fs::remove_all(dir);
}
#endif

}  // namespace
}  // namespace zelk
