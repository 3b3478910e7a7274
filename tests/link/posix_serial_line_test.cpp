// SPDX-License-Identifier: GPL-3.0-or-later
// PosixSerialLine against a pseudo-terminal: the test holds the master side
// and plays the module; the line opens the slave by its path.
#include "link/posix_serial_line.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace zelk {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double ThreadCpuMs() {
  rusage usage{};
  getrusage(RUSAGE_THREAD, &usage);
  return usage.ru_utime.tv_sec * 1e3 + usage.ru_utime.tv_usec / 1e3 + usage.ru_stime.tv_sec * 1e3 +
         usage.ru_stime.tv_usec / 1e3;
}

class PtyLine : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[256] = {};
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    path = name;
    termios raw{};
    ASSERT_EQ(::tcgetattr(master, &raw), 0);
    ::cfmakeraw(&raw);
    ASSERT_EQ(::tcsetattr(master, TCSANOW, &raw), 0);
  }
  void TearDown() override {
    if (line) line->Close();
    if (master >= 0) ::close(master);
    if (slave >= 0) ::close(slave);
  }

  void Open(const CommTimeouts& timeouts = kLinkTimeouts) {
    OpenResult result = PosixSerialLine::Open(path, timeouts);
    ASSERT_EQ(result.error, OpenError::none) << result.detail;
    ASSERT_NE(result.line, nullptr);
    line = std::move(result.line);
  }
  void Send(const Bytes& bytes) {
    ASSERT_EQ(::write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  Bytes Read(std::size_t capacity = 100) {
    Bytes buffer(capacity);
    last = line->Read(buffer.data(), capacity);
    buffer.resize(last.bytes);
    return buffer;
  }
  // Waits until the line's side holds input, so a purge has something to drop.
  void WaitForInputAtSlave() {
    pollfd watched{slave, POLLIN, 0};
    ASSERT_EQ(::poll(&watched, 1, 2000), 1);
  }

  int master = -1;
  int slave = -1;
  std::string path;
  std::unique_ptr<SerialLine> line;
  IoResult last;
};

TEST_F(PtyLine, WriteArrivesByteExact) {
  Open();
  const Bytes request{0xF3, 0x03, 0x00, 0x01, 0x01, 0x00, 0x9C};
  const IoResult written = line->Write(request.data(), request.size());
  EXPECT_EQ(written.bytes, request.size());
  EXPECT_EQ(written.error, LineError::none);
  Bytes got(16);
  pollfd watched{master, POLLIN, 0};
  ASSERT_EQ(::poll(&watched, 1, 2000), 1);
  got.resize(static_cast<std::size_t>(::read(master, got.data(), got.size())));
  EXPECT_EQ(got, request);
}

TEST_F(PtyLine, EveryByteValuePassesUnchangedBothWays) {
  Open();
  Bytes all(256);
  for (int i = 0; i < 256; ++i) all[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
  for (std::size_t start = 0; start < 256; start += 64) {
    const Bytes chunk(all.begin() + static_cast<long>(start),
                      all.begin() + static_cast<long>(start) + 64);
    Send(chunk);
    EXPECT_EQ(Read(64), chunk);
  }
  ASSERT_EQ(line->Write(all.data(), all.size()).bytes, all.size());
  Bytes echoed;
  while (echoed.size() < all.size()) {
    pollfd watched{master, POLLIN, 0};
    ASSERT_EQ(::poll(&watched, 1, 2000), 1);
    std::uint8_t block[256];
    const ssize_t n = ::read(master, block, sizeof block);
    ASSERT_GT(n, 0);
    echoed.insert(echoed.end(), block, block + n);
  }
  EXPECT_EQ(echoed, all);
}

TEST_F(PtyLine, ReadEndsAfterTheIntervalFollowingTheLastByte) {
  Open();
  const Bytes reply{0x00, 0x00, 0x02, 0x0A, 0x2B};
  Send(reply);
  const auto start = Clock::now();
  EXPECT_EQ(Read(), reply);
  EXPECT_EQ(last.error, LineError::none);
  const double elapsed = MsSince(start);
  EXPECT_GE(elapsed, 19.0);  // the 20 ms gap must pass before the read ends
  EXPECT_LT(elapsed, 1000.0);
}

TEST_F(PtyLine, ShortPauseInsideAReplyKeepsOneRead) {
  // A wide interval keeps this free of scheduling luck; the gap rule is the same.
  Open({200, 3, 2000, 2, 50});
  std::thread module([&] {
    Send({1, 2, 3});
    std::this_thread::sleep_for(5ms);
    Send({4, 5, 6});
  });
  EXPECT_EQ(Read(), (Bytes{1, 2, 3, 4, 5, 6}));
  module.join();
}

TEST_F(PtyLine, PauseLongerThanTheIntervalSplitsTheReply) {
  // The link's 20 ms gap; a long total time so a slow machine cannot turn the
  // pause into a silent read.
  Open({20, 3, 2000, 2, 50});
  std::thread module([&] {
    Send({1, 2, 3});
    std::this_thread::sleep_for(150ms);
    Send({4, 5});
  });
  EXPECT_EQ(Read(), (Bytes{1, 2, 3}));
  EXPECT_EQ(Read(), (Bytes{4, 5}));
  module.join();
}

TEST_F(PtyLine, SilentReadGivesNothingAfterTheTotalTimeAndSleeps) {
  Open();
  const auto start = Clock::now();
  const double cpu_before = ThreadCpuMs();
  EXPECT_TRUE(Read().empty());
  const double cpu = ThreadCpuMs() - cpu_before;
  const double elapsed = MsSince(start);
  EXPECT_EQ(last.error, LineError::none);
  EXPECT_GE(elapsed, 250.0);  // nominal 3 x 100 + 50 = 350 ms
  EXPECT_LT(elapsed, 2000.0);
  EXPECT_LT(cpu, elapsed / 4) << "the read must sleep, not spin";
}

TEST_F(PtyLine, ReadStopsAtItsCapacity) {
  Open();
  Bytes burst(150);
  for (std::size_t i = 0; i < burst.size(); ++i) burst[i] = static_cast<std::uint8_t>(i);
  Send(burst);
  // Wait for the whole burst, so the first read cannot end early at a gap.
  std::this_thread::sleep_for(50ms);
  const Bytes first = Read(100);
  EXPECT_EQ(first, Bytes(burst.begin(), burst.begin() + 100));
  EXPECT_EQ(Read(100), Bytes(burst.begin() + 100, burst.end()));
}

TEST_F(PtyLine, PurgeInputDropsWaitingBytes) {
  Open({20, 0, 100, 2, 50});
  Send({9, 9, 9});
  WaitForInputAtSlave();
  line->PurgeInput();
  EXPECT_TRUE(Read().empty());
}

TEST_F(PtyLine, HangUpIsDeviceGone) {
  Open();
  ::close(master);
  master = -1;
  const auto start = Clock::now();
  EXPECT_TRUE(Read().empty());
  EXPECT_EQ(last.error, LineError::device_gone);
  EXPECT_LT(MsSince(start), 300.0);  // at once, not after the time-out

  const Bytes request{0xF3, 0x00, 0x00, 0x43, 0x00, 0x00};
  const IoResult written = line->Write(request.data(), request.size());
  EXPECT_EQ(written.error, LineError::device_gone);
}

TEST_F(PtyLine, SecondOpenIsRefusedAsBusyUntilClosed) {
  Open();
  const OpenResult second = PosixSerialLine::Open(path, kLinkTimeouts);
  EXPECT_EQ(second.line, nullptr);
  EXPECT_EQ(second.error, OpenError::busy);

  line->Close();
  line.reset();
  OpenResult again = PosixSerialLine::Open(path, kLinkTimeouts);
  EXPECT_EQ(again.error, OpenError::none) << again.detail;
}

TEST_F(PtyLine, OpenSetsTheLineUpAndCloseRestoresWhatItFound) {
  termios found{};
  ASSERT_EQ(::tcgetattr(slave, &found), 0);
  found.c_lflag |= ICANON | ECHO | ISIG;
  found.c_iflag |= ICRNL | IXON;
  found.c_oflag |= OPOST;
  cfsetispeed(&found, B9600);
  cfsetospeed(&found, B9600);
  ASSERT_EQ(::tcsetattr(slave, TCSANOW, &found), 0);

  Open();
  termios open{};
  ASSERT_EQ(::tcgetattr(slave, &open), 0);
  EXPECT_EQ(open.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(open.c_iflag & ICRNL, 0u);
  EXPECT_EQ(open.c_oflag & OPOST, 0u);
  EXPECT_EQ(open.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(open.c_cflag & (PARENB | CSTOPB), 0u);
  EXPECT_EQ(cfgetospeed(&open), static_cast<speed_t>(B19200));
  EXPECT_EQ(open.c_iflag & IXON, 0u) << "XON/XOFF would eat bytes of binary frames";

  line->Close();
  line.reset();
  termios after{};
  ASSERT_EQ(::tcgetattr(slave, &after), 0);
  EXPECT_EQ(after.c_lflag, found.c_lflag);
  EXPECT_EQ(after.c_iflag, found.c_iflag);
  EXPECT_EQ(after.c_oflag, found.c_oflag);
  EXPECT_EQ(cfgetospeed(&after), static_cast<speed_t>(B9600));
}

// What reached the line while nobody had the port open is not part of the
// first reply.
TEST_F(PtyLine, OpenDropsBytesThatCameBeforeIt) {
  termios raw{};
  ASSERT_EQ(::tcgetattr(slave, &raw), 0);
  ::cfmakeraw(&raw);
  ASSERT_EQ(::tcsetattr(slave, TCSANOW, &raw), 0);
  Send({'b', 'o', 'o', 't', 0xF3, 0x00});
  WaitForInputAtSlave();
  Open({20, 0, 100, 2, 50});
  EXPECT_TRUE(Read().empty());
  Send({1, 2, 3});
  EXPECT_EQ(Read(), (Bytes{1, 2, 3}));
}

TEST_F(PtyLine, CallsAfterCloseFailQuietly) {
  Open();
  line->Close();
  std::uint8_t byte = 0;
  EXPECT_EQ(line->Write(&byte, 1).error, LineError::other);
  EXPECT_EQ(line->Read(&byte, 1).error, LineError::other);
  line->PurgeInput();
  line->PurgeOutput();
  line->Close();
}

// Paths that exist but lead to no serial port say so, whatever errno the
// system gives for them.
TEST(PosixSerialLineOpen, WhatIsNoSerialPortIsCalledSo) {
  char dir_template[] = "/tmp/zelk-open-XXXXXX";
  ASSERT_NE(::mkdtemp(dir_template), nullptr);
  const std::string dir = dir_template;
  const std::string socket_path = dir + "/socket";
  const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(sock, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socket_path.c_str());
  ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  const std::string file_path = dir + "/file";
  ::close(::open(file_path.c_str(), O_CREAT | O_WRONLY, 0600));

  for (const std::string& path :
       {socket_path, file_path, dir, std::string("/dev/random"), std::string("/dev/null")}) {
    const OpenResult result = PosixSerialLine::Open(path, kLinkTimeouts);
    EXPECT_EQ(result.line, nullptr) << path;
    EXPECT_EQ(result.error, OpenError::not_a_serial_port) << path << ": " << result.detail;
  }
  EXPECT_EQ(PosixSerialLine::Open(dir + "/absent", kLinkTimeouts).error, OpenError::not_found);
  ::close(sock);
  ::unlink(socket_path.c_str());
  ::unlink(file_path.c_str());
  ::rmdir(dir.c_str());
}

TEST(MakeLinkTermios, RawEightNoneOneWithoutSoftwareFlowControl) {
  termios settings{};
  settings.c_iflag = ICRNL | INLCR | IGNCR | ISTRIP | INPCK | PARMRK | BRKINT | IXON | IXOFF;
  settings.c_oflag = OPOST | ONLCR;
  settings.c_lflag = ICANON | ECHO | ECHONL | ISIG | IEXTEN;
  settings.c_cflag = CS7 | PARENB | PARODD | CSTOPB | CRTSCTS | HUPCL;
  settings.c_cc[VMIN] = 1;
  settings.c_cc[VTIME] = 5;
  MakeLinkTermios(settings);
  EXPECT_EQ(settings.c_iflag, 0u);
  EXPECT_EQ(settings.c_oflag & OPOST, 0u);
  EXPECT_EQ(settings.c_lflag & (ICANON | ECHO | ECHONL | ISIG | IEXTEN), 0u);
  EXPECT_EQ(settings.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(settings.c_cflag & (PARENB | CSTOPB), 0u);
  EXPECT_EQ(settings.c_cflag & (CREAD | CLOCAL), static_cast<tcflag_t>(CREAD | CLOCAL));
  EXPECT_EQ(settings.c_cflag & (CRTSCTS | HUPCL), static_cast<tcflag_t>(CRTSCTS | HUPCL));
  EXPECT_EQ(settings.c_cc[VMIN], 0);
  EXPECT_EQ(settings.c_cc[VTIME], 0);
  EXPECT_EQ(cfgetispeed(&settings), static_cast<speed_t>(B19200));
  EXPECT_EQ(cfgetospeed(&settings), static_cast<speed_t>(B19200));
}

}  // namespace
}  // namespace zelk
