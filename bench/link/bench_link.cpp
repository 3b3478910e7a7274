// SPDX-License-Identifier: GPL-3.0-or-later
// bench_link: how close the link comes to the line's own limits.
//
//  * poll exchanges (command 0, address 67, 10 bytes) against the floor set by
//    19200 baud and the 20 ms end-of-reply gap;
//  * a silent module's failed exchange against 3 x 350 ms;
//  * CPU time against wall time of 1000 exchanges through `zelkctl raw`.
//
// Usage: bench_link [EXCHANGES]   (default 300, at least 200)

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "link/frame_link.h"
#include "link/requests.h"
#include "sim/reply_plan.h"
#include "support/child_process.h"
#include "support/sim_process.h"

namespace {

using Clock = std::chrono::steady_clock;
// The simulator paces its replies as a 19200-baud line: that is what is measured.
using zelk::testing::SimPace;
using zelk::testing::SimProcess;

constexpr double kBitsPerByte = 10;
constexpr double kBaud = 19200;
constexpr double kGapMs = 20;
constexpr double kSilentReadMs = 350;

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Percentile(std::vector<double> values, double share) {
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
}

double CpuMs(const rusage& usage) {
  return usage.ru_utime.tv_sec * 1e3 + usage.ru_utime.tv_usec / 1e3 + usage.ru_stime.tv_sec * 1e3 +
         usage.ru_stime.tv_usec / 1e3;
}

bool OpenOrSay(zelk::FrameLink& link, const std::string& port) {
  const zelk::OpenResult opened = link.OpenPort(port);
  if (opened.error == zelk::OpenError::none) return true;
  std::fprintf(stderr, "bench_link: cannot open %s: %s\n", port.c_str(),
               zelk::DescribeOpenError(opened.error).c_str());
  return false;
}

bool PollExchanges(int count) {
  SimProcess sim(ZELK_SIM_PATH, SimPace::line);
  std::string error;
  if (!sim.Start({}, error)) return false;
  zelk::FrameLink link;
  if (!OpenOrSay(link, sim.link())) return false;

  constexpr zelk::RequestSpec poll = zelk::requests::kPollBlock;
  std::array<std::uint8_t, poll.count> block{};
  for (int i = 0; i < 5; ++i) link.ExchangeFrame(poll, block);  // warm-up

  std::vector<double> times;
  int failures = 0;
  for (int i = 0; i < count; ++i) {
    const auto start = Clock::now();
    if (!link.ExchangeFrame(poll, block)) ++failures;
    times.push_back(Ms(Clock::now() - start));
  }
  const double request_bytes = zelk::kRequestOverhead + poll.count;  // 16
  const double reply_bytes = zelk::kReplyOverhead + poll.count;      // 13
  const double floor = (request_bytes + reply_bytes) * kBitsPerByte / kBaud * 1000 + kGapMs;
  const double median = Median(times);
  std::printf("poll exchange (0, 67, 10), %d runs, %d failed\n", count, failures);
  std::printf("  median %.2f ms  p95 %.2f ms  min %.2f ms  max %.2f ms\n", median,
              Percentile(times, 0.95), *std::min_element(times.begin(), times.end()),
              *std::max_element(times.begin(), times.end()));
  std::printf("  floor  %.2f ms = (%g + %g bytes) x 10 bits / 19200 + 20 ms\n", floor,
              request_bytes, reply_bytes);
  std::printf("  ratio  %.3f (target <= 1.05)\n", median / floor);
  // A pty carries our request at once; zelk-sim paces only its reply, which
  // starts a turnaround after the request's last byte.
  const double pty_floor =
      reply_bytes * kBitsPerByte / kBaud * 1000 + zelk::sim::kTurnaroundMs + kGapMs;
  std::printf(
      "  on a pty: floor %.2f ms = 13 bytes x 10 bits / 19200 + %g ms turnaround + 20 ms,"
      " ratio %.3f\n\n",
      pty_floor, zelk::sim::kTurnaroundMs, median / pty_floor);
  return failures == 0;
}

bool SilentExchange(int runs) {
  SimProcess sim(ZELK_SIM_PATH, SimPace::line);
  std::string error;
  if (!sim.Start({"--fault", "silent"}, error)) return false;
  const double expected = zelk::kExchangeTries * kSilentReadMs;
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    zelk::FrameLink link;  // a fresh link: no drain before the request
    if (!OpenOrSay(link, sim.link())) return false;
    std::array<std::uint8_t, 2> buffer{};
    const auto start = Clock::now();
    const bool ok = link.ExchangeFrame(zelk::requests::kVersion, buffer);
    times.push_back(Ms(Clock::now() - start));
    if (ok) {
      std::fprintf(stderr, "bench_link: the silent module answered\n");
      return false;
    }
  }
  const double median = Median(times);
  std::printf("silent module, failed exchange, %d runs\n", runs);
  std::printf("  median %.1f ms  min %.1f ms  max %.1f ms\n", median,
              *std::min_element(times.begin(), times.end()),
              *std::max_element(times.begin(), times.end()));
  std::printf("  expected %.0f ms (3 x 350 ms); off by %+.2f %% (target within 3 %%)\n\n", expected,
              (median - expected) / expected * 100);
  return true;
}

bool ZelkctlCpu(int exchanges) {
  SimProcess sim(ZELK_SIM_PATH, SimPace::line);
  std::string error;
  if (!sim.Start({}, error)) return false;
  std::string input;
  for (int i = 0; i < exchanges; ++i) input += "0 67 10\n";
  const auto start = Clock::now();
  const zelk::testing::ProcessOutput run = zelk::testing::RunProcess(
      {ZELKCTL_PATH, "--port", sim.link(), "raw"}, input, std::chrono::minutes(10));
  const double wall = Ms(Clock::now() - start);
  const double cpu = CpuMs(run.usage);
  const auto oks = static_cast<int>(std::count(run.out.begin(), run.out.end(), 'k'));
  std::printf("zelkctl raw, %d poll exchanges: %d ok, exit %d\n", exchanges, oks, run.exit_code);
  std::printf(
      "  wall %.0f ms (%.2f ms each)  cpu %.0f ms (user %.0f + sys %.0f)  cpu/wall %.2f %%\n", wall,
      wall / exchanges, cpu, run.usage.ru_utime.tv_sec * 1e3 + run.usage.ru_utime.tv_usec / 1e3,
      run.usage.ru_stime.tv_sec * 1e3 + run.usage.ru_stime.tv_usec / 1e3, cpu / wall * 100);
  return run.exit_code == 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int exchanges = argc > 1 ? std::max(200, std::atoi(argv[1])) : 300;
  bool ok = PollExchanges(exchanges);
  ok = SilentExchange(3) && ok;
  ok = ZelkctlCpu(1000) && ok;
  return ok ? 0 : 1;
}
