// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/pty_server.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

namespace zelk::sim {

namespace {

// After the reply that ends in a hang-up the line stays up this long, or
// until the next request arrives, so that the client surely reads the
// reply: closing the master flushes what the slave has not read yet.
constexpr double kHangUpGraceMs = 1000;

bool MakeRaw(int fd, std::string& error, const char* side) {
  termios tio{};
  if (tcgetattr(fd, &tio) != 0) {
    error = std::string("tcgetattr on the pty ") + side + ": " + std::strerror(errno);
    return false;
  }
  cfmakeraw(&tio);
  cfsetispeed(&tio, B19200);
  cfsetospeed(&tio, B19200);
  if (tcsetattr(fd, TCSANOW, &tio) != 0) {
    error = std::string("tcsetattr on the pty ") + side + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

timespec ToTimespec(double ms) {
  ms = std::max(0.0, ms);
  timespec ts{};
  ts.tv_sec = static_cast<time_t>(ms / 1000);
  ts.tv_nsec = static_cast<long>((ms - static_cast<double>(ts.tv_sec) * 1000) * 1e6);
  if (ts.tv_nsec >= 1000000000L) ts.tv_nsec = 999999999L;
  return ts;
}

}  // namespace

PtyServer::PtyServer(ZelkModule& module, bool log, Pace pace)
    : module_(module), log_(log), started_(std::chrono::steady_clock::now()), outgoing_(pace) {
  // Requests are only logged as they come; a bench left running for days
  // must not keep them all.
  module_.SetHistoryLimit(kHistoryKept);
}

PtyServer::~PtyServer() {
  CloseAll();
}

void PtyServer::CloseAll() {
  if (master_ >= 0) close(master_);
  if (slave_ >= 0) close(slave_);
  master_ = slave_ = -1;
}

bool PtyServer::Open(std::string& error) {
  master_ = posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
    error = std::string("cannot create a pty: ") + std::strerror(errno);
    return false;
  }
  const char* name = ptsname(master_);
  if (name == nullptr) {
    error = std::string("ptsname: ") + std::strerror(errno);
    return false;
  }
  slave_path_ = name;
  slave_ = open(slave_path_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave_ < 0) {
    error = "cannot open " + slave_path_ + ": " + std::strerror(errno);
    return false;
  }
  if (!MakeRaw(master_, error, "master") || !MakeRaw(slave_, error, "slave")) return false;
  const int flags = fcntl(master_, F_GETFL);
  fcntl(master_, F_SETFL, flags | O_NONBLOCK);
  fcntl(master_, F_SETFD, FD_CLOEXEC);
  started_ = std::chrono::steady_clock::now();
  return true;
}

double PtyServer::NowMs() const {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started_)
      .count();
}

void PtyServer::Take(const std::uint8_t* bytes, std::size_t count, double now) {
  const std::uint64_t seen = module_.counters().requests;
  std::optional<ReplyPlan> plan = module_.Receive(bytes, count, now);
  if (log_) {
    const auto& history = module_.history();
    const std::size_t fresh = std::min<std::size_t>(
        history.size(), static_cast<std::size_t>(module_.counters().requests - seen));
    for (std::size_t i = history.size() - fresh; i < history.size(); ++i) {
      const std::size_t reply = plan ? plan->Bytes().size() : 0;
      // A log line that cannot be written is lost; the simulator serves on.
      (void)std::fprintf(stderr,
                         "zelk-sim: %.1f ms: command %u address %u count %zu -> %zu bytes%s\n", now,
                         history[i].command, history[i].address, history[i].payload.size(), reply,
                         plan && plan->hang_up ? ", then hang-up" : "");
    }
  }
  // Taken always so the list stays short; a soak matches its failures to
  // these lines by request number.
  for (const InjectedFault& injected : module_.TakeInjected()) {
    if (log_) {
      (void)std::fprintf(stderr, "zelk-sim: request %llu: injected fault %s\n",
                         static_cast<unsigned long long>(injected.request),
                         RandomFaultName(injected.fault));
    }
  }
  if (!plan) return;

  const std::vector<TimedByte> timed = ScheduleReply(*plan, now);
  outgoing_.Queue(timed, module_.counters().requests);
  if (plan->hang_up && hang_up_at_ms_ < 0) {
    hang_up_at_ms_ = timed.empty() ? now : outgoing_.LastAtMs() + kHangUpGraceMs;
  }
}

// NOLINTNEXTLINE(readability-make-member-function-const): it changes the port, const would mislead
void PtyServer::ReleaseAbandonedPort() {
  // A client sets TIOCEXCL; the kernel clears it at the tty's last close,
  // which never comes while we hold the slave open. A client killed before
  // its own Close would leave the port refused to every later user. No client
  // holds the port when its flock is free, so the flag can go.
  if (flock(slave_, LOCK_EX | LOCK_NB) != 0) return;
  ioctl(slave_, TIOCNXCL);
  flock(slave_, LOCK_UN);
}

void PtyServer::SendDue(double now) {
  const std::vector<std::uint8_t> due = outgoing_.TakeDue(now);
  if (due.empty()) return;
  // A client that does not read lets the pty fill up; what does not fit is
  // lost, as on a real line with nobody listening.
  if (write(master_, due.data(), due.size()) < 0 && log_) {
    (void)std::fprintf(stderr, "zelk-sim: %zu reply bytes lost: %s\n", due.size(),
                       std::strerror(errno));
  }
  outgoing_.Sent(NowMs());
  LogLateReplies();
}

void PtyServer::LogLateReplies() {
  // Taken always so the list stays short. A soak tells by these lines a reply
  // this process cut itself (the host did not run it in time) from a fault
  // of the link.
  for (const LateReply& late : outgoing_.TakeLate()) {
    if (log_) {
      (void)std::fprintf(stderr,
                         "zelk-sim: request %llu: reply sent late, a gap %.1f ms over plan\n",
                         static_cast<unsigned long long>(late.request), late.late_ms);
    }
  }
}

PtyServer::Outcome PtyServer::Run(const volatile sig_atomic_t& stop, const sigset_t& wait_mask,
                                  std::string& error) {
  std::uint8_t buf[256];
  while (stop == 0) {
    const double now = NowMs();
    SendDue(now);
    if (hang_up_at_ms_ >= 0 && outgoing_.empty() && now >= hang_up_at_ms_) break;

    // Idle, wake now and then to release a port its last client left locked.
    double wake = now + kIdleCheckMs;
    if (const std::optional<double> due = outgoing_.NextDueMs()) wake = std::min(wake, *due);
    if (hang_up_at_ms_ >= 0) wake = std::min(wake, hang_up_at_ms_);
    timespec timeout = ToTimespec(wake - now);

    pollfd pfd{master_, POLLIN, 0};
    const int ready = ppoll(&pfd, 1, &timeout, &wait_mask);
    if (ready < 0) {
      if (errno == EINTR) continue;
      error = std::string("poll: ") + std::strerror(errno);
      return Outcome::failed;
    }
    if (ready == 0) {
      if (outgoing_.empty()) ReleaseAbandonedPort();
      continue;
    }
    if (pfd.revents & POLLIN) {
      const ssize_t n = read(master_, buf, sizeof buf);
      if (n > 0) {
        // A request on a line whose last reply is out: hang up now.
        if (hang_up_at_ms_ >= 0 && outgoing_.empty()) break;
        Take(buf, static_cast<std::size_t>(n), NowMs());
        continue;
      }
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    }
    if (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)) {
      error = "the pty failed";
      return Outcome::failed;
    }
  }
  if (log_ && module_.faults().random > 0) {
    std::string totals;
    for (std::size_t kind = 0; kind < kRandomFaultKinds; ++kind) {
      totals += std::string(kind ? ", " : "") + RandomFaultName(static_cast<RandomFault>(kind)) +
                " " + std::to_string(module_.counters().injected[kind]);
    }
    (void)std::fprintf(stderr,
                       "zelk-sim: %llu requests; injected faults: %s; replies sent late: %llu\n",
                       static_cast<unsigned long long>(module_.counters().requests), totals.c_str(),
                       static_cast<unsigned long long>(outgoing_.late_replies()));
  }
  if (stop != 0) return Outcome::stopped;
  if (log_) (void)std::fprintf(stderr, "zelk-sim: hanging up\n");
  CloseAll();
  return Outcome::hung_up;
}

}  // namespace zelk::sim
