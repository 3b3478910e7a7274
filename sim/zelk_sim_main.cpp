// SPDX-License-Identifier: GPL-3.0-or-later
// zelk-sim: a simulated Zelk module on a pseudo-terminal, for trying the
// configurator and for the end-to-end tests without a unit on the bench.

#include <signal.h>  // NOLINT(modernize-deprecated-headers): POSIX sigaction, not in <csignal>

#include <cstdio>
#include <string>
#include <vector>

#include "sim/module.h"
#include "sim/pty_link.h"
#include "sim/pty_server.h"
#include "sim/sim_options.h"
#include "text/terminal_text.h"

namespace {

volatile sig_atomic_t g_stop = 0;

void OnStopSignal(int) {
  g_stop = 1;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zelk::sim;

  SimOptions options;
  std::string error;
  if (!ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    // The exit status already says it failed; a lost message cannot be reported anywhere.
    (void)std::fprintf(stderr, "zelk-sim: %s\n\n%s", zelk::TerminalSafe(error).c_str(),
                       SimUsage().c_str());
    return 2;
  }
  if (options.program_version) {
    (void)std::puts(ZELK_PROGRAM_VERSION);  // to a closed stdout: nobody to tell
    return 0;
  }
  if (options.help) {
    (void)std::fputs(SimUsage().c_str(), stdout);  // help to a closed stdout: nobody to tell
    return 0;
  }
  if (options.link_path.empty()) options.link_path = DefaultLinkPath();

  // The stop signals stay blocked except while the server waits, so one that
  // comes early is taken at the first wait instead of being lost.
  sigset_t stop_signals, wait_mask;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  sigaddset(&stop_signals, SIGHUP);
  sigprocmask(SIG_BLOCK, &stop_signals, &wait_mask);
  sigdelset(&wait_mask, SIGINT);
  sigdelset(&wait_mask, SIGTERM);
  sigdelset(&wait_mask, SIGHUP);
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
  (void)signal(SIGPIPE, SIG_IGN);  // if refused, a closed reader kills us, as by default

  ZelkModule module(options.engine);
  module.faults() = options.faults;
  module.version() = options.version;

  PtyServer server(module, !options.quiet, options.pace);
  if (!server.Open(error)) {
    (void)std::fprintf(stderr, "zelk-sim: %s\n", zelk::TerminalSafe(error).c_str());
    return 1;
  }
  if (!CreatePtyLink(server.slave_path(), options.link_path, error)) {
    (void)std::fprintf(stderr, "zelk-sim: %s\n", zelk::TerminalSafe(error).c_str());
    return 1;
  }
  // A caller that cannot read the path sees end of file and gives up; the link is there either way.
  (void)std::printf("%s\n", options.link_path.c_str());
  (void)std::fflush(stdout);

  const PtyServer::Outcome outcome = server.Run(g_stop, wait_mask, error);
  RemovePtyLink(server.slave_path(), options.link_path);
  if (outcome == PtyServer::Outcome::failed) {
    (void)std::fprintf(stderr, "zelk-sim: %s\n", zelk::TerminalSafe(error).c_str());
    return 1;
  }
  return 0;
}
