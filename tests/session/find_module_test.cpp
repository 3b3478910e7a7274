// SPDX-License-Identifier: GPL-3.0-or-later
// The search for the module over lines faked per port name: the verdict of
// each port in list order, the one request it sends, every port closed again,
// the ports asked at once, and a cancel that stops what has not started.

#include "session/find_module.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "link/frame.h"

namespace zelk {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

// zero_byte: a line that only ever reads a single 0x00 (a break, an adapter
// being plugged in), which passes the CRC-8.
enum class Behaviour { version_2_10, silent, garbage, zero_byte, busy, permission, throws };

Bytes VersionReply() {
  Bytes reply{0x00, 0x03, 2, 10};
  reply.push_back(FrameChecksum(reply));
  return reply;
}

// What the lines of every port saw, shared between the search's threads.
struct Ports {
  std::map<std::string, Behaviour> behaviour;
  std::chrono::milliseconds silent_read{0};  // how long a silent read takes

  std::mutex mutex;
  std::map<std::string, std::vector<Bytes>> written;
  std::map<std::string, int> opens, closes;
  int open_now = 0, most_open = 0;

  void Note(const std::function<void()>& change) {
    const std::lock_guard lock(mutex);
    change();
  }
};

class FakeLine : public SerialLine {
 public:
  FakeLine(Ports& ports, std::string name, Behaviour behaviour)
      : ports_(ports), name_(std::move(name)), behaviour_(behaviour) {}
  void SetTimeouts(const CommTimeouts&) override {}
  IoResult Write(const std::uint8_t* data, std::size_t count) override {
    ports_.Note([&] { ports_.written[name_].emplace_back(data, data + count); });
    return {count, LineError::none};
  }
  IoResult Read(std::uint8_t* data, std::size_t capacity) override {
    Bytes reply;
    if (behaviour_ == Behaviour::version_2_10) reply = VersionReply();
    if (behaviour_ == Behaviour::garbage) reply = {0x55, 0xaa, 0x13, 0x37, 0x00};
    if (behaviour_ == Behaviour::zero_byte) reply = {0x00};
    if (reply.empty()) {
      std::this_thread::sleep_for(ports_.silent_read);
      return {};
    }
    const std::size_t n = std::min(capacity, reply.size());
    std::copy_n(reply.begin(), n, data);
    return {n, LineError::none};
  }
  void PurgeOutput() override {}
  void PurgeInput() override {}
  void Close() override {
    ports_.Note([&] {
      ++ports_.closes[name_];
      --ports_.open_now;
    });
  }

 private:
  Ports& ports_;
  std::string name_;
  Behaviour behaviour_;
};

LineOpener FakeOpener(Ports& ports) {
  return [&ports](const std::string& name) {
    const Behaviour behaviour = ports.behaviour.at(name);
    OpenResult result;
    if (behaviour == Behaviour::throws) throw std::runtime_error("driver exploded");
    if (behaviour == Behaviour::busy || behaviour == Behaviour::permission) {
      result.error = behaviour == Behaviour::busy ? OpenError::busy : OpenError::permission_denied;
      result.detail = "refused";
      return result;
    }
    ports.Note([&] {
      ++ports.opens[name];
      ports.most_open = std::max(ports.most_open, ++ports.open_now);
    });
    result.line = std::make_unique<FakeLine>(ports, name, behaviour);
    return result;
  };
}

const Bytes kVersionRequest{0xf3, 0x03, 0x00, 0x01, 0x01, 0x00, 0x9c};

TEST(FindModule, EachPortItsVerdictInListOrder) {
  Ports ports;
  ports.behaviour = {{"ttyS0", Behaviour::silent},       {"ttyUSB0", Behaviour::version_2_10},
                     {"ttyUSB1", Behaviour::garbage},    {"ttyACM0", Behaviour::busy},
                     {"ttyACM1", Behaviour::permission}, {"rfcomm0", Behaviour::throws},
                     {"ttyS1", Behaviour::zero_byte}};
  const std::vector<std::string> list{"ttyS0",   "ttyUSB0", "ttyUSB1", "ttyACM0",
                                      "ttyACM1", "rfcomm0", "ttyUSB0", "ttyS1"};
  const std::vector<PortProbe> probes = FindModule(list, FakeOpener(ports));

  struct Expected {
    ProbeVerdict verdict;
    Failure failure;
  };
  const std::vector<Expected> expected{
      {ProbeVerdict::no_answer, Failure::no_reply},
      {ProbeVerdict::answered, Failure::none},
      {ProbeVerdict::no_answer, Failure::bad_check},
      {ProbeVerdict::not_opened, Failure::port_busy},
      {ProbeVerdict::not_opened, Failure::permission_denied},
      {ProbeVerdict::not_opened, Failure::open_failed},
      {ProbeVerdict::answered, Failure::none},
      {ProbeVerdict::no_answer, Failure::short_reply},
  };
  ASSERT_EQ(probes.size(), list.size());
  for (std::size_t i = 0; i < list.size(); ++i) {
    SCOPED_TRACE(list[i]);
    EXPECT_EQ(probes[i].port, list[i]);
    EXPECT_EQ(probes[i].verdict, expected[i].verdict);
    EXPECT_EQ(probes[i].version.failure, expected[i].failure);
  }
  EXPECT_EQ(probes[1].version.value.numbers, (std::array<std::uint8_t, 2>{2, 10}));
  EXPECT_EQ(probes[1].version.value.received, 2u);
  EXPECT_EQ(probes[3].version.detail, "refused");
  EXPECT_EQ(probes[5].version.detail, "driver exploded");
  EXPECT_EQ(FirstAnswered(probes), std::optional<std::size_t>(1));
  EXPECT_EQ(FirstAnswered({probes[0], probes[2]}), std::nullopt);

  // The version request and nothing else, on every port that opened; each
  // opened once (the repeated name too) and closed again.
  for (const std::string name : {"ttyS0", "ttyUSB0", "ttyUSB1"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(ports.opens[name], 1);
    EXPECT_EQ(ports.closes[name], 1);
    ASSERT_FALSE(ports.written[name].empty());
    for (const Bytes& frame : ports.written[name]) EXPECT_EQ(frame, kVersionRequest);
  }
  EXPECT_EQ(ports.written["ttyS0"].size(), std::size_t{kExchangeTries});
  EXPECT_EQ(ports.written["ttyUSB0"].size(), 1u);
  EXPECT_EQ(ports.open_now, 0);
}

// Twenty silent ports, each a failed exchange of three 100 ms reads: asked
// one after the other they would take 6 s.
TEST(FindModule, PortsAreAskedAtTheSameTime) {
  Ports ports;
  ports.silent_read = 100ms;
  std::vector<std::string> list;
  for (int i = 0; i < 20; ++i) {
    list.push_back("ttyS" + std::to_string(i));
    ports.behaviour[list.back()] = Behaviour::silent;
  }
  const auto started = std::chrono::steady_clock::now();
  const std::vector<PortProbe> probes = FindModule(list, FakeOpener(ports));
  EXPECT_LT(std::chrono::steady_clock::now() - started, 2500ms);
  for (const PortProbe& probe : probes) EXPECT_EQ(probe.verdict, ProbeVerdict::no_answer);
  EXPECT_EQ(ports.most_open, 20);
}

TEST(FindModule, AtMost32PortsOpenAtOnceAndTheRestFollow) {
  Ports ports;
  ports.silent_read = 20ms;
  std::vector<std::string> list;
  for (int i = 0; i < 40; ++i) {
    list.push_back("ttyS" + std::to_string(i));
    ports.behaviour[list.back()] = i == 39 ? Behaviour::version_2_10 : Behaviour::silent;
  }
  const std::vector<PortProbe> probes = FindModule(list, FakeOpener(ports));
  EXPECT_LE(ports.most_open, static_cast<int>(kSearchThreads));
  EXPECT_EQ(FirstAnswered(probes), std::optional<std::size_t>(39));
  EXPECT_EQ(ports.opens.size(), 40u);
}

// Cancelled while the first 32 ports are opening: those are closed unasked,
// the other 8 are never opened, and nothing at all is sent.
TEST(FindModule, CancelSendsNothingMore) {
  Ports ports;
  std::mutex gate_mutex;
  std::condition_variable gate;
  bool released = false;
  int opening = 0;
  std::vector<std::string> list;
  for (int i = 0; i < 40; ++i) {
    list.push_back("ttyS" + std::to_string(i));
    ports.behaviour[list.back()] = Behaviour::version_2_10;
  }
  const LineOpener fake = FakeOpener(ports);
  ModuleSearch search(list, [&](const std::string& name) {
    std::unique_lock lock(gate_mutex);
    ++opening;
    gate.notify_all();
    gate.wait(lock, [&] { return released; });
    lock.unlock();
    return fake(name);
  });
  search.Start();
  {
    std::unique_lock lock(gate_mutex);
    ASSERT_TRUE(gate.wait_for(lock, 10s, [&] { return opening == 32; }));
    search.Cancel();
    released = true;
    gate.notify_all();
  }
  const std::vector<PortProbe> probes = search.Wait();
  EXPECT_TRUE(search.done());
  for (const PortProbe& probe : probes) EXPECT_EQ(probe.verdict, ProbeVerdict::cancelled);
  EXPECT_EQ(opening, 32);
  EXPECT_TRUE(ports.written.empty());
  int closes = 0;
  for (const auto& entry : ports.closes) closes += entry.second;
  EXPECT_EQ(closes, 32);
}

TEST(FindModule, StopAskedBeforeStartOpensNothing) {
  Ports ports;
  ports.behaviour = {{"a", Behaviour::version_2_10}, {"b", Behaviour::version_2_10}};
  const std::vector<PortProbe> probes =
      FindModule({"a", "b"}, FakeOpener(ports), [] { return true; });
  for (const PortProbe& probe : probes) EXPECT_EQ(probe.verdict, ProbeVerdict::cancelled);
  EXPECT_TRUE(ports.opens.empty());
  EXPECT_TRUE(FindModule({}, FakeOpener(ports)).empty());
}

TEST(FindModule, ProgressCountsTheDistinctPorts) {
  Ports ports;
  ports.behaviour = {{"a", Behaviour::version_2_10}, {"b", Behaviour::busy}};
  ModuleSearch search({"a", "b", "a"}, FakeOpener(ports));
  EXPECT_EQ(search.port_count(), 2u);
  EXPECT_FALSE(search.done());
  search.Start();
  const std::vector<PortProbe> probes = search.Wait();
  EXPECT_EQ(search.finished_ports(), 2u);
  EXPECT_TRUE(search.done());
  ASSERT_EQ(probes.size(), 3u);
  EXPECT_EQ(probes[2].verdict, ProbeVerdict::answered);
}

}  // namespace
}  // namespace zelk
