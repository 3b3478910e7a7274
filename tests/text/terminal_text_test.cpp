// SPDX-License-Identifier: GPL-3.0-or-later
// Outside text on its way to a terminal: every script as it is written, and
// escapes for controls and for bytes that are no UTF-8.
#include "text/terminal_text.h"

#include <gtest/gtest.h>

#include <string>

namespace zelk {
namespace {

TEST(TerminalSafe, KeepsLettersOfEveryScriptAndEscapesControlsAndBrokenBytes) {
  struct Case {
    const char* what;
    std::string text;
    std::string shown;
  };
  const Case cases[] = {
      {"ASCII", "ttyUSB0 COM5 a-b_c.zelk", "ttyUSB0 COM5 a-b_c.zelk"},
      {"Portuguese name", "Jo\xc3\xa3o", "Jo\xc3\xa3o"},
      {"Portuguese word", "A\xc3\xa7\xc3\xa3o", "A\xc3\xa7\xc3\xa3o"},
      {"Greek and CJK", "\xce\xa9\xce\xbc-\xe6\x97\xa5\xe6\x9c\xac",
       "\xce\xa9\xce\xbc-\xe6\x97\xa5\xe6\x9c\xac"},
      {"four-byte character", "\xf0\x9f\x9a\x97", "\xf0\x9f\x9a\x97"},
      {"escape sequence", "a\x1b[2Jb", "a\\x1b[2Jb"},
      {"DEL", "a\x7f", "a\\x7f"},
      {"newline, tab, bell", "a\nb\tc\x07", "a\\x0ab\\x09c\\x07"},
      {"C1 control CSI",
       "a\xc2\x9b"
       "2J",
       "a\\xc2\\x9b2J"},
      {"first character after C1", "\xc2\xa0", "\xc2\xa0"},
      {"lone continuation byte", "a\x80z", "a\\x80z"},
      {"overlong slash", "\xc0\xaf", "\\xc0\\xaf"},
      {"overlong three-byte NUL", "\xe0\x80\x80", "\\xe0\\x80\\x80"},
      {"truncated, then a letter", "\xe6\x97z", "\\xe6\\x97z"},
      {"truncated at the end", "Jo\xc3", "Jo\\xc3"},
      {"surrogate half", "\xed\xa0\x80", "\\xed\\xa0\\x80"},
      {"beyond U+10FFFF", "\xf4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"},
      {"Latin-1 byte of an ANSI code page", "Jo\xe3o", "Jo\\xe3o"},
      {"empty", "", ""},
  };
  for (const Case& test : cases) {
    EXPECT_EQ(TerminalSafe(test.text), test.shown) << test.what;
  }
}

}  // namespace
}  // namespace zelk
