// SPDX-License-Identifier: GPL-3.0-or-later
// soak: polls the live block the way the main window does, back to back,
// through the real pty line against zelk-sim with random faults, and checks
// that the link reports exactly the injected faults (and the replies a busy
// host made the simulator cut) and stays flat in memory and descriptors. Exits 1 when a rule is
// broken, 2 on bad arguments or setup.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <thread>

#include "link/frame_link.h"
#include "link/requests.h"
#include "proc_figures.h"
#include "soak_matching.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Growth of the resident set still taken as flat: allocator and stdio slack.
constexpr long kRssSlackKb = 256;

struct Args {
  std::uint64_t polls = 2000;
  std::uint32_t seed = 1;
  std::string probability = "0.01";
  std::string sim = ZELK_SIM_PATH;
};

template <typename T>
bool ParseWhole(std::string_view text, T& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return !text.empty() && ec == std::errc() && ptr == end;
}

bool ParseArgs(int argc, char** argv, Args& args) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view flag = argv[i];
    if (i + 1 >= argc) return false;
    const std::string_view value = argv[++i];
    bool ok = true;
    if (flag == "--polls") {
      ok = ParseWhole(value, args.polls) && args.polls > 0;
    } else if (flag == "--seed") {
      ok = ParseWhole(value, args.seed);
    } else if (flag == "--probability") {
      args.probability = value;
    } else if (flag == "--sim") {
      args.sim = value;
    } else {
      ok = false;
    }
    if (!ok) return false;
  }
  return true;
}

// zelk-sim with its requests, injected faults and late replies logged to
// `log_path`, on the paced line: its timing is part of what a soak tries.
class Simulator {
 public:
  ~Simulator() { Stop(); }

  bool Start(const Args& args, const std::string& link, const std::string& log_path) {
    const std::string fault = "random=" + args.probability;
    const std::string seed = std::to_string(args.seed);
    std::vector<std::string> all{args.sim, "--link", link,     "--fault", fault,
                                 "--seed", seed,     "--pace", "line"};
    std::vector<char*> argv;
    for (std::string& arg : all) argv.push_back(arg.data());
    argv.push_back(nullptr);
    int out[2];
    if (pipe(out) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log_path.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int rc = posix_spawn(&pid_, args.sim.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (rc != 0) {
      pid_ = -1;
      close(out[0]);
      return false;
    }
    // It prints the link once the pty is ready.
    std::string line;
    while (line.find('\n') == std::string::npos) {
      pollfd pfd{out[0], POLLIN, 0};
      char buf[256];
      if (poll(&pfd, 1, 10000) <= 0) break;
      const ssize_t n = read(out[0], buf, sizeof buf);
      if (n <= 0) break;
      line.append(buf, static_cast<std::size_t>(n));
    }
    close(out[0]);
    return line == link + "\n";
  }

  // SIGTERM, which makes it log its totals; true when it exited cleanly.
  bool Stop() {
    if (pid_ <= 0) return false;
    kill(pid_, SIGTERM);
    int status = 0;
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (waitpid(pid_, &status, WNOHANG) == 0) {
      if (Clock::now() >= deadline) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_ = -1;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }

 private:
  pid_t pid_ = -1;
};

std::uint64_t SimulatorRequests(const std::string& log_path) {
  std::FILE* log = std::fopen(log_path.c_str(), "r");
  if (log == nullptr) return 0;
  unsigned long long requests = 0;
  char line[512];
  while (std::fgets(line, sizeof line, log) != nullptr) {
    unsigned long long n = 0;
    if (std::sscanf(line, "zelk-sim: %llu requests;", &n) == 1) requests = n;
  }
  std::fclose(log);
  return requests;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zelk;
  Args args;
  if (!ParseArgs(argc, argv, args)) {
    std::fprintf(stderr,
                 "usage: soak [--polls N] [--seed S] [--probability P] [--sim PATH]\n"
                 "Polls zelk-sim --fault random=P (default 0.01) N times (default 2000).\n");
    return 2;
  }
  char pattern[] = "/tmp/zelk-soak-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return 2;
  const std::string dir = pattern;
  const std::string link_path = dir + "/zelk-tty";
  const std::string log_path = dir + "/zelk-sim.log";
  const std::string records_path = dir + "/polls.bin";

  int status = 2;
  {
    Simulator sim;
    FrameLink link;
    // Poll records go to a file: kept in memory they would grow the resident set.
    std::FILE* records = std::fopen(records_path.c_str(), "w+b");
    if (!sim.Start(args, link_path, log_path) || records == nullptr ||
        link.OpenPort(link_path).error != OpenError::none) {
      std::fprintf(stderr, "soak: cannot start zelk-sim (%s) or open its pty\n", args.sim.c_str());
      if (records != nullptr) std::fclose(records);
      return 2;
    }
    std::uint64_t sent = 0;  // requests written, numbered as the simulator counts them
    link.SetTrace([&sent](TraceDirection direction, std::span<const std::uint8_t>) {
      if (direction == TraceDirection::sent) ++sent;
    });

    std::array<std::uint8_t, requests::kPollBlock.count> live{};
    auto poll_once = [&] {
      const std::uint64_t first = sent + 1;
      // The window sends back the live buffer as the request payload.
      link.ExchangeFrame(requests::kPollBlock, live);
      const soak::PollRecord record{first, sent, link.last_failure()};
      return std::fwrite(&record, sizeof record, 1, records) == 1;
    };

    const auto started = Clock::now();
    bool written = poll_once();  // the first poll sets up what stays
    const soak::Footprint before = soak::ReadFootprint();
    for (std::uint64_t i = 1; i < args.polls && written; ++i) written = poll_once();
    const soak::Footprint after = soak::ReadFootprint();
    const double elapsed_s = std::chrono::duration<double>(Clock::now() - started).count();

    link.ClosePort();
    const bool sim_ok = sim.Stop();
    std::vector<soak::PollRecord> polls(args.polls);
    std::rewind(records);
    const bool read_back = written && std::fread(polls.data(), sizeof(soak::PollRecord),
                                                 polls.size(), records) == polls.size();
    std::fclose(records);
    const soak::SimLog sim_log = soak::ParseSimLog(log_path);
    const soak::Tally tally = soak::Match(polls, sim_log);
    const std::uint64_t sim_requests = SimulatorRequests(log_path);

    std::printf("polls                       %llu\n", static_cast<unsigned long long>(tally.polls));
    std::printf("requests sent / seen by sim %llu / %llu\n", static_cast<unsigned long long>(sent),
                static_cast<unsigned long long>(sim_requests));
    std::printf("faults injected / on polls  %llu / %llu\n",
                static_cast<unsigned long long>(tally.faults_injected),
                static_cast<unsigned long long>(tally.faults_accounted));
    std::printf("silent tries recovered      %llu\n",
                static_cast<unsigned long long>(tally.silences_recovered));
    std::printf("failures reported           %llu\n",
                static_cast<unsigned long long>(tally.failures));
    std::printf("failures matched to a fault %llu\n",
                static_cast<unsigned long long>(tally.failures_matched));
    std::printf("failures cut by the host    %llu (of %zu replies the simulator sent late)\n",
                static_cast<unsigned long long>(tally.failures_cut_by_host), sim_log.late.size());
    std::printf("successes that were faults  %llu\n",
                static_cast<unsigned long long>(tally.faulty_successes));
    std::printf("VmRSS kB start / end        %ld / %ld\n", before.rss_kb, after.rss_kb);
    std::printf("open fds start / end        %zu / %zu\n", before.open_fds, after.open_fds);
    std::printf("elapsed                     %.1f s (%.2f ms a poll)\n", elapsed_s,
                1000.0 * elapsed_s / static_cast<double>(tally.polls));
    for (const std::string& problem : tally.problems) std::printf("problem: %s\n", problem.c_str());

    const bool flat = after.open_fds == before.open_fds && before.rss_kb >= 0 &&
                      after.rss_kb - before.rss_kb <= kRssSlackKb;
    const bool exact = tally.failures_matched + tally.failures_cut_by_host == tally.failures &&
                       tally.faulty_successes == 0 && tally.problems.empty() &&
                       tally.faults_accounted == tally.faults_injected && sim_requests == sent;
    status = read_back && sim_ok && flat && exact ? 0 : 1;
    std::printf("%s\n", status == 0 ? "soak: OK" : "soak: FAILED");
  }
  unlink(records_path.c_str());
  unlink(log_path.c_str());
  rmdir(dir.c_str());
  return status;
}
