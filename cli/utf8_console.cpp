// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/utf8_console.h"

#ifdef _WIN32
#include <windows.h>
// windows.h first: shellapi.h needs its types.
#include <shellapi.h>

#include "text/path_text.h"
#endif

namespace zelk::cli {

#ifdef _WIN32

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(Utf8FromWide(wide[i]));
  LocalFree(wide);
  return arguments;
}

Utf8ConsoleOutput::Utf8ConsoleOutput() {
  // Without a console (output to a file or a pipe) the bytes go out as they
  // are, which is UTF-8 already.
  const UINT current = GetConsoleOutputCP();
  if (current != 0 && current != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) {
    saved_code_page_ = current;
  }
}

Utf8ConsoleOutput::~Utf8ConsoleOutput() {
  if (saved_code_page_ != 0) SetConsoleOutputCP(saved_code_page_);
}

#else

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

#endif

}  // namespace zelk::cli
