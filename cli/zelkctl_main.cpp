// SPDX-License-Identifier: GPL-3.0-or-later
// zelkctl: the module's link from a shell, for the bench and for scripts.

#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "cli/command_table.h"
#include "cli/commands.h"
#include "cli/utf8_console.h"
#include "text/terminal_text.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace {

// Started with stdin, stdout or stderr closed, the port we open would take
// that descriptor and our text would go down the serial line. Fill the gaps
// with /dev/null first, as if the caller had sent them there.
void KeepStandardDescriptorsOffThePort() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
      const int null = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
      if (null >= 0 && null != fd) {
        dup2(null, fd);
        close(null);
      }
    }
  }
}

}  // namespace
#endif

int main(int argc, char** argv) {
  using namespace zelk::cli;
#ifndef _WIN32
  KeepStandardDescriptorsOffThePort();
  // A closed stdout shows as a write error, not a kill; if refused, the default kill stays.
  (void)std::signal(SIGPIPE, SIG_IGN);
#endif
  std::ios::sync_with_stdio(false);
  [[maybe_unused]] const Utf8ConsoleOutput utf8_console;  // for the whole run

  const CliParse parse = ParseCliArgs(Utf8Arguments(argc, argv));
  if (!parse.ok) {
    std::cerr << "zelkctl: " << zelk::TerminalSafe(parse.error) << "\n\n" << CliUsage();
    return kExitUsage;
  }
  const CliOptions& options = parse.options;
  int status = kExitOk;
  if (options.help) {
    std::cout << CliUsage();
  } else if (options.program_version) {
    status = RunProgramVersion(std::cout);
  } else {
    CommandContext context(options, std::cin, std::cout, std::cerr);
    status = FindCommand(options.command)->run(context, options.operands);
  }
  // A result that could not be written is no success for a script.
  std::cout.flush();
  if (!std::cout && status == kExitOk) {
    std::cerr << "zelkctl: cannot write the results\n";
    return kExitUsage;
  }
  return status;
}
