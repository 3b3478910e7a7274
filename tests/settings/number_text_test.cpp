// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/number_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

namespace zelk {
namespace {

TEST(GeneralText, ShortestFormWithTheUsersSeparator) {
  struct Case {
    double value;
    char sep;
    const char* text;
  };
  const Case cases[] = {
      {37.5, ',', "37,5"},
      {37.5, '.', "37.5"},
      {251 * 0.8, '.', "200.8"},  // 200.80000000000001
      {9.375, '.', "9.375"},
      {1990, '.', "1990"},
      {-65, ',', "-65"},
      {100, '.', "100"},
      {-0.0, '.', "0"},
      {0.1 + 0.2, '.', "0.3"},  // the 16th digit is not shown
      {123456789012345.0, '.', "123456789012345"},
      {0.0001, ',', "0,0001"},
      {1e15, '.', "1e+15"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GeneralText(c.value, c.sep), c.text) << c.value;
  }
}

TEST(FixedText, RoundsLikePrintfAndPads) {
  struct Case {
    double value;
    int decimals;
    int width;
    char sep;
    const char* text;
  };
  const Case cases[] = {
      {1220 * 0.82, 0, 0, '.', "1000"},  // 1000.4
      {4878 * 0.82, 0, 0, '.', "4000"},  // 3999.96
      {0.5, 0, 0, '.', "0"},             // exact ties go to the even digit
      {1.5, 0, 0, '.', "2"},
      {2.5, 0, 0, '.', "2"},
      {0.125, 2, 0, '.', "0.12"},
      {0.375, 2, 0, '.', "0.38"},
      {0.64, 0, 0, '.', "1"},
      {1.0000000000000002, 1, 0, '.', "1.0"},
      {0.0, 1, 0, ',', "0,0"},
      {2.5, 2, 3, '.', "2.50"},
      {0.0, 2, 3, '.', "0.00"},
      {0.049, 2, 5, ',', " 0,05"},
      {-0.4, 0, 0, '.', "0"},  // no "-0"
      {-1.5, 0, 0, '.', "-2"},
      {7.0, -3, 0, '.', "7"},  // negative decimals count as none
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FixedText(c.value, c.decimals, c.width, c.sep), c.text) << c.value;
  }
}

TEST(FixedText, HugeValuesFitTheirBuffer) {
  const std::string text = FixedText(1.7976931348623157e308, 30, 0, '.');
  EXPECT_EQ(text.size(), 309u + 1 + 30);
  EXPECT_EQ(text.substr(0, 5), "17976");
}

TEST(IntegerText, PlainDigits) {
  EXPECT_EQ(IntegerText(0), "0");
  EXPECT_EQ(IntegerText(-5), "-5");
  EXPECT_EQ(IntegerText(LLONG_MIN), "-9223372036854775808");
}

TEST(ParseInteger, AcceptsSignedWholeNumbersAmongBlanks) {
  struct Case {
    const char* text;
    std::int32_t value;
  };
  const Case cases[] = {
      {" 42 ", 42},
      {"+7", 7},
      {"-3", -3},
      {"\t12\t", 12},
      {"007", 7},
      {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},
      {"-0", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseInteger(c.text), std::optional<std::int32_t>(c.value)) << c.text;
  }
}

TEST(ParseInteger, RefusesEverythingElse) {
  const char* const cases[] = {
      "",     " ",   "+",    "-",   "2147483648", "-2147483649", "99999999999999999999",
      "12.5", "1,5", "0x10", "$10", "1 2",        "--1",         "+-1",
      "1e3",  "nan", "12a",  "٣",
  };
  for (const char* text : cases) {
    EXPECT_EQ(ParseInteger(text), std::nullopt) << text;
  }
}

TEST(ParseDecimal, AcceptsNumbersWithTheUsersSeparator) {
  struct Case {
    const char* text;
    char sep;
    double value;
  };
  const Case cases[] = {
      {" 42 ", '.', 42},
      {"+7", '.', 7},
      {"-3", '.', -3},
      {"12.5", '.', 12.5},
      {".5", '.', 0.5},
      {"5.", '.', 5},
      {"1e3", '.', 1000},
      {"1E-2", '.', 0.01},
      {"-1.5e+2", '.', -150},
      {"1,5", ',', 1.5},
      {"37,5", ',', 37.5},
      {",25", ',', 0.25},
      {"1e-400", '.', 0},
      {"0e999999", '.', 0},
      {"0.0000e500", '.', 0},
      {"409.28", '.', 409.28},
      {"1.7976931348623157e308", '.', 1.7976931348623157e308},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseDecimal(c.text, c.sep), std::optional<double>(c.value)) << c.text;
  }
}

TEST(ParseDecimal, RefusesNamesHexOverflowAndStrayCharacters) {
  struct Case {
    const char* text;
    char sep;
  };
  const Case cases[] = {
      {"", '.'},
      {" ", '.'},
      {"nan", '.'},
      {"NaN", '.'},
      {"inf", '.'},
      {"-inf", '.'},
      {"infinity", '.'},
      {"0x10", '.'},
      {"0x1p3", '.'},
      {"1e400", '.'},
      {"-1e400", '.'},
      {"1e99999999999999999999", '.'},
      {"1.7976931348623159e308", '.'},
      {"1,5", '.'},
      {"1.5", ','},
      {"--1", '.'},
      {"1e", '.'},
      {"1e+", '.'},
      {"1 2", '.'},
      {"+", '.'},
      {"-", '.'},
      {".", '.'},
      {",", ','},
      {"1.2.3", '.'},
      {"e5", '.'},
      {".e5", '.'},
      {"1e5.5", '.'},
      {"5%", '.'},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseDecimal(c.text, c.sep), std::nullopt) << c.text << " sep " << c.sep;
  }
}

// A decimal refused for its separator alone says which one is expected.
TEST(NotAValidNumberMessage, NamesTheExpectedDecimalSeparator) {
  struct Case {
    const char* text;
    bool integer;
    const char* message;
  };
  const Case cases[] = {
      {"40.5", false,
       "'40.5' is not a valid floating point value\n"
       "A comma is expected as the decimal separator: 40,5"},
      {"-0,25", false,
       "'-0,25' is not a valid floating point value\n"
       "A point is expected as the decimal separator: -0.25"},
      {"40.5", true, "'40.5' is not a valid integer value"},  // no decimal is taken there
      {"4.0,5", false, "'4.0,5' is not a valid floating point value"},
      {"4..5", false, "'4..5' is not a valid floating point value"},
      {"abc.", false, "'abc.' is not a valid floating point value"},
      {"nan", false, "'nan' is not a valid floating point value"},
  };
  for (const Case& c : cases) EXPECT_EQ(NotAValidNumberMessage(c.text, c.integer), c.message);
}

TEST(NotAValidNumberMessage, QuotesTheText) {
  EXPECT_EQ(NotAValidNumberMessage("abc", true), "'abc' is not a valid integer value");
  EXPECT_EQ(NotAValidNumberMessage("abc", false), "'abc' is not a valid floating point value");
  EXPECT_EQ(NotAValidNumberMessage("", true), "'' is not a valid integer value");
}

}  // namespace
}  // namespace zelk
