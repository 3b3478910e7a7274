// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// zelkctl speaks UTF-8 on every system. Linux hands it UTF-8 already; on
// Windows the arguments come as the wide command line and the console is
// switched to UTF-8 output for the run, so a file named in any script
// ("Zoë-Ωμέγα-日本.zelk") is opened by its name and printed as it is.

#include <string>
#include <vector>

namespace zelk::cli {

// The arguments after the program name, as UTF-8. Windows: from
// GetCommandLineW, not from `argv`, whose narrow code page cannot hold
// every name.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// While it lives, the console shows the bytes written to it as UTF-8;
// the console's own code page comes back at the end.
// Elsewhere the terminal takes the bytes as they are, and it does nothing.
class Utf8ConsoleOutput {
 public:
#ifdef _WIN32
  Utf8ConsoleOutput();
  ~Utf8ConsoleOutput();
#else
  Utf8ConsoleOutput() = default;
#endif
  Utf8ConsoleOutput(const Utf8ConsoleOutput&) = delete;
  Utf8ConsoleOutput& operator=(const Utf8ConsoleOutput&) = delete;

#ifdef _WIN32
 private:
  unsigned int saved_code_page_ = 0;  // 0: nothing to put back
#endif
};

}  // namespace zelk::cli
