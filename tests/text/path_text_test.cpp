// SPDX-License-Identifier: GPL-3.0-or-later
// File names from UTF-8 and back, whatever the system's narrow code page.
#include "text/path_text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace zelk {
namespace {

const std::string kOutsideAnyCodePage =
    "Zo\xc3\xab-\xce\xa9\xce\xbc\xce\xad\xce\xb3\xce\xb1-\xe6\x97\xa5\xe6\x9c\xac.zelk";

TEST(PathText, NamesOutsideTheCodePageCrossOverIntact) {
  for (const std::string& name :
       {std::string("plain.zelk"), std::string("Jo\xc3\xa3o.zelk"), kOutsideAnyCodePage}) {
    const std::filesystem::path path = PathFromUtf8(name);
    EXPECT_EQ(Utf8PathText(path), name);
    EXPECT_EQ(Utf8PathText(path.filename()), name);
  }
  // The characters themselves, not their bytes read as Latin-1: "Zoë" is
  // three characters, "日本" two.
  EXPECT_EQ(PathFromUtf8("Zo\xc3\xab").native().size(),
            sizeof(std::filesystem::path::value_type) == 2 ? 3u : 4u);
  EXPECT_EQ(PathFromUtf8("\xe6\x97\xa5\xe6\x9c\xac").native().size(),
            sizeof(std::filesystem::path::value_type) == 2 ? 2u : 6u);
}

TEST(PathText, AFileNamedOutsideTheCodePageIsMadeAndFoundByThatName) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "zelk-path-text-test";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::filesystem::path file = folder / PathFromUtf8(kOutsideAnyCodePage);
  { std::ofstream(file) << "x"; }
  ASSERT_TRUE(std::filesystem::exists(file));
  std::string listed;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    listed = Utf8PathText(entry.path().filename());
  }
  EXPECT_EQ(listed, kOutsideAnyCodePage);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace zelk
