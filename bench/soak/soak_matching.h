// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Judges each poll against the faults the simulator injected. The link tries
// a silent module three times, so a poll covers one to three requests: every
// try before the last must have met silence, and the last try's fault (or
// none) fixes the outcome exactly. One thing besides a fault may fail a poll:
// a paced reply the simulator itself sent late, when the host left it
// unscheduled for longer than the link's 20 ms pause inside the reply. The
// link rightly ends the reply there; such a cut is the host's, counted apart.

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "link/frame_link.h"

namespace zelk::soak {

struct PollRecord {
  std::uint64_t first_request;  // numbers as the simulator counts them, from 1
  std::uint64_t last_request;
  ExchangeFailure failure;  // none on success
};

struct Tally {
  std::uint64_t polls = 0;
  std::uint64_t failures = 0;              // reported by the link
  std::uint64_t failures_matched = 0;      // ... with the failure kind the fault must give
  std::uint64_t failures_cut_by_host = 0;  // ... on a reply the simulator sent late
  std::uint64_t faulty_successes = 0;      // a success whose answer carried a fault
  std::uint64_t silences_recovered = 0;    // silent tries a later try made good
  std::uint64_t faults_injected = 0;
  std::uint64_t faults_accounted = 0;  // injected faults on requests some poll sent
  std::vector<std::string> problems;   // the first few, for the report
};

// What the simulator's log says of the requests.
struct SimLog {
  std::map<std::uint64_t, std::string> injected;  // request number -> fault name
  std::set<std::uint64_t> late;                   // requests whose reply went out late
};

Tally Match(const std::vector<PollRecord>& polls, const SimLog& log);

// Reads the "request N: injected fault NAME" and "request N: reply sent late"
// lines out of the simulator's log.
SimLog ParseSimLog(const std::string& log_path);

}  // namespace zelk::soak
