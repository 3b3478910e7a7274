// SPDX-License-Identifier: GPL-3.0-or-later
// bench_monitor: how zelkctl monitor keeps up with the link and the clock.
//
//  * `monitor --interval 0`: polls per second from the log's time_s column,
//    against the floor the link itself sets (one poll exchange through
//    FrameLink on the same pty, back to back); target ratio >= 0.95.
//  * `monitor --interval 100`: the mean start-to-start period over the run and
//    the drift (how far the last poll is from its slot, against the first);
//    target mean within 1 % of 100 ms.
//
// Usage: bench_monitor [POLLS] [SLOTS]   (defaults 1000 and 1000; at least 50)

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "link/frame_link.h"
#include "link/requests.h"
#include "support/child_process.h"
#include "support/sim_process.h"

namespace {

using Clock = std::chrono::steady_clock;
// The simulator paces its replies as a 19200-baud line: that is what is measured.
using zelk::testing::SimPace;
using zelk::testing::SimProcess;

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// The link's own pace: poll exchanges back to back, in ms each (mean).
bool LinkFloor(const std::string& port, int count, double& mean_ms, int& failures) {
  zelk::FrameLink link;
  if (link.OpenPort(port).error != zelk::OpenError::none) {
    std::fprintf(stderr, "bench_monitor: cannot open %s\n", port.c_str());
    return false;
  }
  std::array<std::uint8_t, zelk::requests::kPollBlock.count> block{};
  for (int i = 0; i < 5; ++i) link.ExchangeFrame(zelk::requests::kPollBlock, block);  // warm-up
  failures = 0;
  const auto start = Clock::now();
  for (int i = 0; i < count; ++i) {
    if (!link.ExchangeFrame(zelk::requests::kPollBlock, block)) ++failures;
  }
  mean_ms = Ms(Clock::now() - start) / count;
  link.ClosePort();
  return true;
}

struct LogTimes {
  std::vector<double> ms;  // time_s of each row, in ms
  int failed_rows = 0;
};

// Runs zelkctl monitor with `args` and the log on stdout; false when it failed.
bool Monitor(const std::string& port, const std::vector<std::string>& args, LogTimes& times) {
  std::vector<std::string> argv{ZELKCTL_PATH, "--port", port, "monitor", "--csv", "-"};
  argv.insert(argv.end(), args.begin(), args.end());
  const zelk::testing::ProcessOutput run =
      zelk::testing::RunProcess(argv, "", std::chrono::minutes(30));
  if (run.exit_code != 0) {
    std::fprintf(stderr, "bench_monitor: zelkctl monitor exited %d: %s\n", run.exit_code,
                 run.err.c_str());
    return false;
  }
  std::istringstream lines(run.out);
  std::string line;
  std::getline(lines, line);  // the header
  while (std::getline(lines, line)) {
    times.ms.push_back(std::strtod(line.c_str(), nullptr) * 1000);
    if (line.find(",fail,") != std::string::npos) ++times.failed_rows;
  }
  return times.ms.size() >= 2;
}

bool BackToBack(int polls) {
  SimProcess sim(ZELK_SIM_PATH, SimPace::line);
  std::string error;
  if (!sim.Start({}, error)) {
    std::fprintf(stderr, "bench_monitor: %s\n", error.c_str());
    return false;
  }
  double exchange_ms = 0;
  int link_failures = 0;
  if (!LinkFloor(sim.link(), polls, exchange_ms, link_failures)) return false;
  LogTimes times;
  if (!Monitor(sim.link(), {"--interval", "0", "--count", std::to_string(polls)}, times))
    return false;
  const double span_ms = times.ms.back() - times.ms.front();
  const double rate = (static_cast<double>(times.ms.size()) - 1) / span_ms * 1000;
  const double floor_rate = 1000 / exchange_ms;
  std::printf("zelkctl monitor --interval 0, %d polls (%d failed rows)\n", polls,
              times.failed_rows);
  std::printf("  link floor  %.2f polls/s (one exchange %.2f ms, %d polls, %d failed)\n",
              floor_rate, exchange_ms, polls, link_failures);
  std::printf("  monitor     %.2f polls/s (%.2f ms a poll)\n", rate,
              span_ms / (times.ms.size() - 1));
  std::printf("  ratio       %.3f (target >= 0.95)\n\n", rate / floor_rate);
  return true;
}

bool Scheduled(int slots) {
  SimProcess sim(ZELK_SIM_PATH, SimPace::line);
  std::string error;
  if (!sim.Start({}, error)) {
    std::fprintf(stderr, "bench_monitor: %s\n", error.c_str());
    return false;
  }
  constexpr double kInterval = 100;
  LogTimes times;
  if (!Monitor(sim.link(), {"--interval", "100", "--count", std::to_string(slots)}, times))
    return false;
  const std::size_t n = times.ms.size();
  const double mean = (times.ms.back() - times.ms.front()) / static_cast<double>(n - 1);
  // Each row's distance from its slot, against the first row's.
  double late_most = 0;
  double early_most = 0;
  std::size_t long_periods = 0;
  for (std::size_t k = 0; k < n; ++k) {
    const double off = times.ms[k] - times.ms[0] - static_cast<double>(k) * kInterval;
    late_most = std::max(late_most, off);
    early_most = std::min(early_most, off);
    if (k > 0 && times.ms[k] - times.ms[k - 1] > 1.5 * kInterval) ++long_periods;
  }
  const double drift = times.ms.back() - times.ms.front() - static_cast<double>(n - 1) * kInterval;
  // Each row is stamped when its reply came, so one row's offset carries the
  // jitter of its exchange; the mean offsets of the first and last tenth do not.
  const std::size_t tenth = std::max<std::size_t>(1, n / 10);
  double first_tenth = 0;
  double last_tenth = 0;
  for (std::size_t k = 0; k < tenth; ++k) {
    first_tenth += times.ms[k] - times.ms[0] - static_cast<double>(k) * kInterval;
    const std::size_t j = n - tenth + k;
    last_tenth += times.ms[j] - times.ms[0] - static_cast<double>(j) * kInterval;
  }
  const double tenth_drift = (last_tenth - first_tenth) / static_cast<double>(tenth);
  std::printf("zelkctl monitor --interval 100, %zu polls (%d failed rows)\n", n, times.failed_rows);
  std::printf("  mean period %.3f ms, off by %+.3f %% (target within 1 %%)\n", mean,
              (mean - kInterval) / kInterval * 100);
  std::printf("  last poll   %+.0f ms from its slot after %.0f s, as the first was\n", drift,
              (times.ms.back() - times.ms.front()) / 1000);
  std::printf(
      "  drift       %+.2f ms: the last tenth's mean offset from its slots against the"
      " first tenth's\n",
      tenth_drift);
  std::printf("  from slots  %+.0f .. %+.0f ms; periods over 150 ms: %zu\n", early_most, late_most,
              long_periods);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const int polls = argc > 1 ? std::max(50, std::atoi(argv[1])) : 1000;
  const int slots = argc > 2 ? std::max(50, std::atoi(argv[2])) : 1000;
  bool ok = BackToBack(polls);
  ok = Scheduled(slots) && ok;
  return ok ? 0 : 1;
}
