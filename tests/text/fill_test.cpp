// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/fill.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

namespace zelk {
namespace {

struct FillCase {
  std::string_view format;
  std::initializer_list<std::string_view> parts;
  std::string_view filled;
};

TEST(Fill, PutsEachPartInItsPlace) {
  const FillCase cases[] = {
      {"the key %1 is given twice", {"\"a\""}, "the key \"a\" is given twice"},
      {"%2 before %1", {"one", "two"}, "two before one"},
      {"%1%1", {"x"}, "xx"},
      {"no places", {"unused"}, "no places"},
      {"100% sure", {"x"}, "100% sure"},                 // % not followed by a digit
      {"%3 has no part", {"a", "b"}, "%3 has no part"},  // kept for the reader to see
      {"ends in %", {"a"}, "ends in %"},
      {"%0 and %1", {"a"}, "%0 and a"},
      {"%1", {"%1 %2"}, "%1 %2"},  // a part is not searched again
  };
  for (const FillCase& c : cases) EXPECT_EQ(Fill(c.format, c.parts), c.filled) << c.format;
}

}  // namespace
}  // namespace zelk
