// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/sim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <utility>

extern char** environ;

namespace zelk::testing {

namespace {
using Clock = std::chrono::steady_clock;
constexpr auto kStartTimeout = std::chrono::seconds(10);
}  // namespace

SimProcess::SimProcess(std::string sim_path, SimPace pace)
    : sim_path_(std::move(sim_path)), pace_(pace) {
  char pattern[] = "/tmp/zelk-sim-XXXXXX";
  if (mkdtemp(pattern) != nullptr) dir_ = pattern;
  link_ = dir_ + "/zelk-tty";
}

SimProcess::~SimProcess() {
  if (pid_ > 0 && !Signal(SIGTERM, std::chrono::seconds(5))) {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  if (!dir_.empty()) {
    unlink(link_.c_str());
    rmdir(dir_.c_str());
  }
}

bool SimProcess::Spawn(const std::vector<std::string>& args, int stdout_fd, std::string& error) {
  std::vector<std::string> all{sim_path_};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : all) argv.push_back(arg.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (stdout_fd >= 0) {
    posix_spawn_file_actions_adddup2(&actions, stdout_fd, STDOUT_FILENO);
  } else {
    // A run to the end is judged by its exit status; keep its texts out of the test log.
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  }
  const int rc = posix_spawn(&pid_, sim_path_.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) {
    pid_ = -1;
    error = "cannot start " + sim_path_ + ": " + std::strerror(rc);
    return false;
  }
  return true;
}

bool SimProcess::Start(const std::vector<std::string>& args, std::string& error) {
  if (dir_.empty()) {
    error = "no temporary directory";
    return false;
  }
  int out[2];
  if (pipe(out) != 0) {
    error = std::string("pipe: ") + std::strerror(errno);
    return false;
  }
  std::vector<std::string> all{"--quiet", "--link", link_, "--pace",
                               pace_ == SimPace::reply ? "reply" : "line"};
  all.insert(all.end(), args.begin(), args.end());
  const bool spawned = Spawn(all, out[1], error);
  close(out[1]);
  if (!spawned) {
    close(out[0]);
    return false;
  }

  // The program prints its link once the pty is ready.
  std::string line;
  const auto deadline = Clock::now() + kStartTimeout;
  while (line.find('\n') == std::string::npos) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    pollfd pfd{out[0], POLLIN, 0};
    if (left <= 0 || poll(&pfd, 1, static_cast<int>(left)) <= 0) break;
    char buf[256];
    const ssize_t n = read(out[0], buf, sizeof buf);
    if (n <= 0) break;
    line.append(buf, static_cast<std::size_t>(n));
  }
  close(out[0]);
  if (line != link_ + "\n") {
    error = "zelk-sim did not announce " + link_ + " (got '" + line + "')";
    return false;
  }
  return true;
}

std::optional<int> SimProcess::RunToEnd(const std::vector<std::string>& args,
                                        std::chrono::milliseconds timeout) {
  std::string error;
  if (!Spawn(args, -1, error)) return std::nullopt;
  return WaitExit(timeout);
}

std::optional<int> SimProcess::WaitExit(std::chrono::milliseconds timeout) {
  if (pid_ <= 0) return exit_status_ >= 0 ? std::optional<int>(exit_status_) : std::nullopt;
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
      pid_ = -1;
      if (!WIFEXITED(status)) return std::nullopt;
      exit_status_ = WEXITSTATUS(status);
      return exit_status_;
    }
    if (done < 0 || Clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

bool SimProcess::Send(int signal) {
  return pid_ > 0 && kill(pid_, signal) == 0;
}

std::optional<int> SimProcess::Signal(int signal, std::chrono::milliseconds timeout) {
  if (pid_ <= 0) return std::nullopt;
  kill(pid_, signal);
  return WaitExit(timeout);
}

}  // namespace zelk::testing
