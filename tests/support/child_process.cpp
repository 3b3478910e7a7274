// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace zelk::testing {
namespace {

using Clock = std::chrono::steady_clock;

std::vector<char*> ArgvPointers(const std::vector<std::string>& argv) {
  std::vector<char*> pointers;
  for (const std::string& arg : argv) pointers.push_back(const_cast<char*>(arg.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

int RemainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// fork + exec with the given fds as stdin, stdout, stderr (-1: /dev/null).
pid_t Spawn(const std::vector<std::string>& argv, int in, int out, int err) {
  std::vector<char*> args = ArgvPointers(argv);
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  // Child: only async-signal-safe calls until exec.
  const int null_fd = ::open("/dev/null", O_RDWR);
  ::dup2(in >= 0 ? in : null_fd, 0);
  ::dup2(out >= 0 ? out : null_fd, 1);
  ::dup2(err >= 0 ? err : null_fd, 2);
  for (int fd = 3; fd < 1024; ++fd) ::close(fd);
  ::execv(args[0], args.data());
  ::_exit(127);
}

void StopProcess(pid_t pid) {
  ::kill(pid, SIGTERM);
  for (int i = 0; i < 200; ++i) {
    if (::waitpid(pid, nullptr, WNOHANG) == pid) return;
    ::usleep(10000);
  }
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
}

}  // namespace

ProcessOutput RunProcess(const std::vector<std::string>& argv, const std::string& input,
                         std::chrono::milliseconds timeout) {
  ProcessOutput result;
  int in_pipe[2], out_pipe[2], err_pipe[2];
  if (::pipe2(in_pipe, O_CLOEXEC) != 0 || ::pipe2(out_pipe, O_CLOEXEC) != 0 ||
      ::pipe2(err_pipe, O_CLOEXEC) != 0) {
    result.err = "pipe failed";
    return result;
  }
  const pid_t pid = Spawn(argv, in_pipe[0], out_pipe[1], err_pipe[1]);
  ::close(in_pipe[0]);
  ::close(out_pipe[1]);
  ::close(err_pipe[1]);
  ::fcntl(in_pipe[1], F_SETFL, O_NONBLOCK);

  ::signal(SIGPIPE, SIG_IGN);  // the child may exit before reading all its input
  const Clock::time_point deadline = Clock::now() + timeout;
  std::size_t input_sent = 0;
  int in_fd = in_pipe[1];
  if (input.empty()) {
    ::close(in_fd);
    in_fd = -1;
  }
  int fds[2] = {out_pipe[0], err_pipe[0]};
  std::string* sinks[2] = {&result.out, &result.err};
  while (fds[0] >= 0 || fds[1] >= 0) {
    pollfd watched[3] = {{fds[0], POLLIN, 0}, {fds[1], POLLIN, 0}, {in_fd, POLLOUT, 0}};
    const int wait_ms = RemainingMs(deadline);
    if (wait_ms == 0) {
      result.timed_out = true;
      break;
    }
    if (::poll(watched, 3, wait_ms) < 0 && errno != EINTR) break;
    for (int i = 0; i < 2; ++i) {
      if (fds[i] < 0 || watched[i].revents == 0) continue;
      char block[4096];
      const ssize_t n = ::read(fds[i], block, sizeof block);
      if (n > 0) {
        sinks[i]->append(block, static_cast<std::size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        ::close(fds[i]);
        fds[i] = -1;
      }
    }
    if (in_fd >= 0 && watched[2].revents != 0) {
      const ssize_t n = ::write(in_fd, input.data() + input_sent, input.size() - input_sent);
      if (n > 0) input_sent += static_cast<std::size_t>(n);
      if (n < 0 && errno != EAGAIN && errno != EINTR) input_sent = input.size();
      if (input_sent == input.size()) {
        ::close(in_fd);
        in_fd = -1;
      }
    }
  }
  if (in_fd >= 0) ::close(in_fd);
  for (int fd : fds) {
    if (fd >= 0) ::close(fd);
  }
  if (result.timed_out) ::kill(pid, SIGKILL);
  int status = 0;
  ::wait4(pid, &status, 0, &result.usage);
  if (!result.timed_out && WIFEXITED(status)) result.exit_code = WEXITSTATUS(status);
  return result;
}

BackgroundProcess::BackgroundProcess(const std::vector<std::string>& argv) {
  int out_pipe[2];
  if (::pipe2(out_pipe, O_CLOEXEC) != 0) return;
  pid_ = Spawn(argv, -1, out_pipe[1], 2);
  ::close(out_pipe[1]);
  stdout_fd_ = out_pipe[0];
}

BackgroundProcess::~BackgroundProcess() {
  if (pid_ > 0) StopProcess(pid_);
  if (stdout_fd_ >= 0) ::close(stdout_fd_);
}

std::optional<std::string> BackgroundProcess::ReadLine(std::chrono::milliseconds timeout) {
  const Clock::time_point deadline = Clock::now() + timeout;
  for (;;) {
    const std::size_t end = pending_.find('\n');
    if (end != std::string::npos) {
      std::string line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      return line;
    }
    const int wait_ms = RemainingMs(deadline);
    pollfd watched{stdout_fd_, POLLIN, 0};
    if (wait_ms == 0 || ::poll(&watched, 1, wait_ms) <= 0) return std::nullopt;
    char block[512];
    const ssize_t n = ::read(stdout_fd_, block, sizeof block);
    if (n <= 0) return std::nullopt;
    pending_.append(block, static_cast<std::size_t>(n));
  }
}

}  // namespace zelk::testing
