// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/stop_signal.h"

#include <atomic>
#include <csignal>

namespace zelk::cli {
namespace {

std::atomic<bool> g_stop{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

extern "C" void OnStopSignal(int /*signal*/) {
  g_stop.store(true);
}

}  // namespace

void InstallStopSignals() {
  (void)std::signal(SIGINT, OnStopSignal);
  (void)std::signal(SIGTERM, OnStopSignal);
}

bool StopRequested() {
  return g_stop.load();
}
void RequestStop() {
  g_stop.store(true);
}
void ClearStopRequest() {
  g_stop.store(false);
}

}  // namespace zelk::cli
