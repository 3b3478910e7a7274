// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/vehicle_id.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace zelk {
namespace {

struct IdCase {
  const char* typed;
  bool ok;
  const char* kept;
};

TEST(VehicleId, TheRule) {
  const IdCase cases[] = {
      {"ABC1D23", true, "ABC1D23"},
      {"  ABC-1234  ", true, "ABC-1234"},
      {"Fusca do João", true, "Fusca do João"},
      {"Лада 2107", true, "Лада 2107"},
      {"Opel.Astra", true, "Opel.Astra"},
      {"東京 500", true, "東京 500"},
      {"Jose\xCC\x81", true, "Jose\xCC\x81"},
      {"CON", true, "CON"},
      {"12345678901234567890123456789012", true, "12345678901234567890123456789012"},
      {"ÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁ", true, "ÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁÁ"},
      {"123456789012345678901234567890123", false, ""},
      {"", false, ""},
      {"   ", false, ""},
      {".", false, ""},
      {"..", false, ""},
      {"ABC/123", false, ""},
      {"ABC\\123", false, ""},
      {"C:", false, ""},
      {"ABC_123", false, ""},
      {"AB\tC", false, ""},
      {"AB\nC", false, ""},
      {"car 😀", false, ""},
      {"\xCC\x81"
       "abc",
       false, ""},               // an accent on nothing
      {"1\xCC\x81", false, ""},  // an accent on a digit
      {"AB\xFF", false, ""},
  };
  for (const IdCase& c : cases) {
    const VehicleIdCheck check = CheckVehicleId(c.typed);
    EXPECT_EQ(check.ok, c.ok) << c.typed;
    if (c.ok) {
      EXPECT_EQ(check.id, c.kept) << c.typed;
    }
  }
}

TEST(VehicleId, SameVehicleIgnoringCaseAndAccents) {
  EXPECT_EQ(VehicleKey("abc-1d23"), VehicleKey("ABC-1D23"));
  EXPECT_EQ(VehicleKey("Fusca do João"), VehicleKey("FUSCA DO JOAO"));
  EXPECT_NE(VehicleKey("ABC-1D23"), VehicleKey("ABC-1D24"));
  EXPECT_EQ(VehicleFolderName("abc-1d23"), VehicleFolderName("ABC-1D23"));
  EXPECT_EQ(VehicleFolderName("Fusca do João"), VehicleFolderName("FUSCA DO JOÃO"));
}

TEST(VehicleId, FolderNamesAreSafeAndDistinct) {
  const char* ids[] = {
      "CON",  "con",  "PRN",    "AUX",  "NUL",     "COM1",
      "LPT9", "ABC.", "...a",   "a b",  "a-b",     "a.b",
      "Лада", "東京", "ЛАДА 2", "Ёлка", "ABC1D23", "12345678901234567890123456789012"};
  std::set<std::string> folders;
  std::set<std::string> keys;
  for (const char* id : ids) {
    ASSERT_TRUE(CheckVehicleId(id).ok) << id;
    const std::string folder = VehicleFolderName(id);
    keys.insert(VehicleKey(id));
    folders.insert(folder);
    // Lower-case ASCII letters, digits, '_' and the hash's hyphen only: no
    // reserved name, no trailing dot or space, the same on every file system.
    for (const char c : folder) {
      EXPECT_TRUE((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-')
          << id << " -> " << folder;
    }
    EXPECT_EQ(folder.size() - folder.rfind('-'), 17u) << folder;
    EXPECT_LE(folder.size(), kLongestVehicleId + 17) << folder;
  }
  EXPECT_EQ(folders.size(), keys.size());  // distinct vehicles, distinct folders
  EXPECT_EQ(VehicleFolderName("ABC1D23").substr(0, 8), "abc1d23-");
  EXPECT_EQ(VehicleFolderName("Лада").substr(0, 5), "____-");
}

}  // namespace
}  // namespace zelk
