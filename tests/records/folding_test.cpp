// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/folding.h"

#include <gtest/gtest.h>

#include <string>

namespace zelk {
namespace {

struct FoldCase {
  const char* text;
  const char* folded;
};

TEST(Folding, LowersCaseAndDropsAccents) {
  const FoldCase cases[] = {
      {"ABC-1D23", "abc-1d23"},
      {"José Conceição", "jose conceicao"},
      {"JOSÉ CONCEIÇÃO", "jose conceicao"},
      {"Ærø Straße", "æro straße"},  // Æ and ß are letters of their own: only the case folds
      {"Łódź Świętokrzyskie", "lodz swietokrzyskie"},
      {"ŠKODA Žluťoučký", "skoda zlutoucky"},
      {"İstanbul ığdır", "istanbul igdir"},
      {"Ÿvette ÿ", "yvette y"},
      {"ΆΈΉΊΌΎΏ άέήίόύώ ΪΫ", "αεηιουω αεηιουω ιυ"},
      {"ΣΟΦΟΣ σοφος", "σοφοσ σοφοσ"},
      {"ЁЛКА Москва ВАЗ-2107", "елка москва ваз-2107"},
      {"Jose\xCC\x81", "jose"},    // e + combining acute
      {"東京 서울", "東京 서울"},  // compared as written
      {"1 × 2 ÷ 3", "1 × 2 ÷ 3"},
      {"", ""},
  };
  for (const FoldCase& c : cases) EXPECT_EQ(Folded(c.text), c.folded) << c.text;
}

TEST(Folding, InvalidBytesAreLeftOut) {
  EXPECT_EQ(Folded("a\xFF"
                   "b\xC3"),
            "ab");
  EXPECT_EQ(Folded("\xC0\x80x"), "x");  // an overlong NUL is not a character
}

TEST(Folding, DecodeRefusesWhatIsNotUtf8) {
  const char* refused[] = {"\x80",
                           "\xC3",
                           "\xC0\xAF",
                           "\xE0\x80\xAF",
                           "\xED\xA0\x80",
                           "\xF4\x90\x80\x80",
                           "\xF8\x88\x80\x80\x80",
                           "ok\xE2\x82"};
  for (const char* text : refused) EXPECT_FALSE(DecodeUtf8(text)) << ::testing::PrintToString(text);
  const auto decoded = DecodeUtf8("aé€😀");
  ASSERT_TRUE(decoded);
  EXPECT_EQ(*decoded, (std::vector<char32_t>{U'a', U'é', U'€', U'😀'}));
}

TEST(Folding, EncodingRoundTripsEveryLength) {
  for (const char32_t c : {U'a', U'é', U'€', U'😀', char32_t{0x10FFFF}}) {
    std::string text;
    AppendUtf8(text, c);
    const auto decoded = DecodeUtf8(text);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, std::vector<char32_t>{c});
  }
}

TEST(Folding, SearchFindsFoldedParts) {
  EXPECT_TRUE(FoldedContains(Folded("Conceição Ltda"), Folded("CONCEICAO")));
  EXPECT_TRUE(FoldedContains(Folded("abc"), ""));
  EXPECT_FALSE(FoldedContains(Folded("abc"), Folded("abd")));
}

}  // namespace
}  // namespace zelk
