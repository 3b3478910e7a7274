// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The search for the module: the version request on every port of a list at
// once, each port in a thread of its own with a session of its own, so the
// whole search takes about one failed exchange (about 1.1 s) however many
// ports there are. A port that is not the module gets the version request
// and nothing else, and every port that was opened is closed again.

#include <atomic>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "link/frame_link.h"
#include "session/session.h"

namespace zelk {

// Ports asked at the same time; a longer list waits for free threads, so
// every further 32 ports add about one failed exchange.
inline constexpr std::size_t kSearchThreads = 32;

enum class ProbeVerdict {
  answered,    // the version request was answered
  no_answer,   // the port opened, but no valid answer came (silence, a bad check byte, gone)
  not_opened,  // the port could not be opened: version.failure says why
  cancelled,   // the search was cancelled before this port was asked
};

struct PortProbe {
  std::string port;
  ProbeVerdict verdict = ProbeVerdict::cancelled;
  // The reply (answered) or why there was none (failure, and the system's
  // words in detail for an open failure).
  Result<ModuleVersion> version;
};

// The search, running in the background: the window starts it, watches
// finished_ports() and done(), offers Cancel, and collects Wait().
class ModuleSearch {
 public:
  // `ports` in the order the results come back; a name given twice is asked
  // once (a second open would only find it busy) and reported at each place.
  // `stop`, when given, is asked (from the search's threads) before each
  // port is opened and before it is asked, as Cancel() is.
  explicit ModuleSearch(std::vector<std::string> ports, LineOpener opener = OpenPlatformSerialLine,
                        std::function<bool()> stop = {});
  ~ModuleSearch();  // cancels and waits for the threads
  ModuleSearch(const ModuleSearch&) = delete;
  ModuleSearch& operator=(const ModuleSearch&) = delete;

  // Starts the threads; once only.
  void Start();
  // Every thread finishes the exchange it is in; nothing more is opened or sent.
  void Cancel() { cancel_.store(true); }

  std::size_t port_count() const { return distinct_.size(); }  // different names
  std::size_t finished_ports() const { return finished_.load(); }
  bool done() const { return finished_ports() == port_count(); }

  // Waits for the threads and gives one result per port of the list, in
  // its order. Once only.
  std::vector<PortProbe> Wait();

 private:
  void Work();
  bool Stopping() const;

  std::vector<std::string> ports_;
  std::vector<std::string> distinct_;
  std::vector<std::size_t> place_;  // for each port of the list: its index in distinct_
  std::vector<PortProbe> probes_;   // by distinct_ index; each written by one thread
  LineOpener opener_;
  std::function<bool()> stop_;
  std::vector<std::thread> threads_;
  std::atomic<std::size_t> next_{0};
  std::atomic<std::size_t> finished_{0};
  std::atomic<bool> cancel_{false};
};

// The search from start to end, in the caller's thread (`stop` as above).
std::vector<PortProbe> FindModule(const std::vector<std::string>& ports,
                                  LineOpener opener = OpenPlatformSerialLine,
                                  std::function<bool()> stop = {});

// One port: open, the version request, close; `stop` is asked after the
// open, and a port not asked yet is closed again unasked.
PortProbe ProbePort(const std::string& port, const LineOpener& opener,
                    const std::function<bool()>& stop = {});

// The first result, in list order, that answered.
std::optional<std::size_t> FirstAnswered(const std::vector<PortProbe>& probes);

}  // namespace zelk
