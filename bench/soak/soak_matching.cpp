// SPDX-License-Identifier: GPL-3.0-or-later
#include "soak_matching.h"

#include <cstdio>
#include <fstream>

namespace zelk::soak {

namespace {

constexpr std::size_t kProblemsKept = 10;

// The failure the link must report when a reply carries `fault`.
ExchangeFailure ExpectedFailure(const std::string& fault) {
  if (fault == "bad-check" || fault == "garbage-before") return ExchangeFailure::bad_check;
  return ExchangeFailure::none;  // unknown to this soak: never matches a failure
}

}  // namespace

std::map<std::uint64_t, std::string> ParseInjected(const std::string& log_path) {
  std::map<std::uint64_t, std::string> injected;
  std::ifstream log(log_path);
  for (std::string line; std::getline(log, line);) {
    unsigned long long request = 0;
    char name[32] = {};
    if (std::sscanf(line.c_str(), "zelk-sim: request %llu: injected fault %31s", &request, name) ==
        2) {
      injected[request] = name;
    }
  }
  return injected;
}

Tally Match(const std::vector<PollRecord>& polls,
            const std::map<std::uint64_t, std::string>& injected) {
  Tally tally;
  tally.faults_injected = injected.size();
  auto problem = [&tally](std::uint64_t poll, const std::string& what) {
    if (tally.problems.size() < kProblemsKept) {
      tally.problems.push_back("poll " + std::to_string(poll) + ": " + what);
    }
  };
  auto fault_of = [&injected](std::uint64_t request) -> std::string {
    const auto found = injected.find(request);
    return found == injected.end() ? std::string() : found->second;
  };

  for (std::size_t i = 0; i < polls.size(); ++i) {
    const PollRecord& poll = polls[i];
    ++tally.polls;
    const std::uint64_t tries = poll.last_request - poll.first_request + 1;
    for (std::uint64_t r = poll.first_request; r <= poll.last_request; ++r) {
      if (!fault_of(r).empty()) ++tally.faults_accounted;
    }
    // A retry is only ever sent after a silent try.
    for (std::uint64_t r = poll.first_request; r < poll.last_request; ++r) {
      if (fault_of(r) != "silent")
        problem(i + 1, "retried after request " + std::to_string(r) + " that was not silenced");
    }
    const std::string last = fault_of(poll.last_request);
    if (poll.failure == ExchangeFailure::none) {
      tally.silences_recovered += tries - 1;
      if (!last.empty()) {
        ++tally.faulty_successes;
        problem(i + 1, "accepted the answer to request " + std::to_string(poll.last_request) +
                           " with fault " + last);
      }
      continue;
    }
    ++tally.failures;
    const bool all_silent = tries == static_cast<std::uint64_t>(kExchangeTries) && last == "silent";
    const bool matched = all_silent ? poll.failure == ExchangeFailure::no_reply
                                    : !last.empty() && poll.failure == ExpectedFailure(last);
    if (matched) {
      ++tally.failures_matched;
    } else {
      problem(i + 1, "a failure (kind " + std::to_string(static_cast<int>(poll.failure)) +
                         ") on request " + std::to_string(poll.last_request) +
                         (last.empty() ? " with no fault injected" : " with fault " + last));
    }
  }
  return tally;
}

}  // namespace zelk::soak
