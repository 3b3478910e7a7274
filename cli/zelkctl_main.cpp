// zelkctl: the module's link from a shell, for the bench and for scripts.

#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "cli/trace_printer.h"
#include "link/frame_link.h"
#include "link/port_list.h"

#ifndef _WIN32
#include <csignal>
#endif

int main(int argc, char** argv) {
  using namespace zelk::cli;
#ifndef _WIN32
  std::signal(SIGPIPE, SIG_IGN);  // a closed stdout shows as a write error, not a kill
#endif
  std::ios::sync_with_stdio(false);

  const CliParse parse = ParseCliArgs(std::vector<std::string>(argv + 1, argv + argc));
  if (!parse.ok) {
    std::cerr << "zelkctl: " << parse.error << "\n\n" << CliUsage();
    return kExitUsage;
  }
  const CliOptions& options = parse.options;
  if (options.help) {
    std::cout << CliUsage();
    return kExitOk;
  }
  if (options.command == CliCommand::ports) return RunPorts(zelk::ListSerialPorts(), std::cout);

  zelk::FrameLink link;
  if (options.trace) link.SetTrace(MakeTracePrinter(std::cerr));
  if (!OpenPortOrSay(link, options.port, std::cerr)) return kExitUsage;
  if (options.command == CliCommand::version) return RunVersion(link, std::cout, std::cerr);
  return RunRaw(link, std::cin, std::cout, std::cerr);
}
