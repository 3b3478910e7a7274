// SPDX-License-Identifier: GPL-3.0-or-later
#include "soak_matching.h"

#include <cstdio>
#include <fstream>

namespace zelk::soak {

namespace {

constexpr std::size_t kProblemsKept = 10;

// A reply came and the link refused it: a wrong check byte, or too few bytes
// for the request. Not silence, not a vanished device, not a refused request.
bool RefusedReply(ExchangeFailure failure) {
  switch (failure) {
    case ExchangeFailure::none:
    case ExchangeFailure::not_open:
    case ExchangeFailure::bad_request:
    case ExchangeFailure::no_reply:
    case ExchangeFailure::device_gone:
      return false;
    default:
      return true;
  }
}

bool IsBadCheck(ExchangeFailure failure) {
  return failure == ExchangeFailure::bad_check;
}

// The failure the link must report when the last try's reply carries a fault
// of the random mix (silence is judged over all the tries instead).
struct FaultOutcome {
  const char* fault;
  bool (*fits)(ExchangeFailure);
};
constexpr FaultOutcome kFaultOutcomes[] = {
    {"bad-check", IsBadCheck},
    // Stray bytes in front leave the CRC register off zero whatever follows.
    {"garbage-before", IsBadCheck},
    // Answered short with a valid check byte: refused for its length.
    {"short", RefusedReply},
};

bool FitsFault(const std::string& fault, ExchangeFailure failure) {
  for (const FaultOutcome& outcome : kFaultOutcomes) {
    if (fault == outcome.fault) return outcome.fits(failure);
  }
  return false;  // unknown to this soak: never matches a failure
}

}  // namespace

SimLog ParseSimLog(const std::string& log_path) {
  SimLog parsed;
  std::ifstream log(log_path);
  for (std::string line; std::getline(log, line);) {
    unsigned long long request = 0;
    char name[32] = {};
    int consumed = 0;
    if (std::sscanf(line.c_str(), "zelk-sim: request %llu: injected fault %31s", &request, name) ==
        2) {
      parsed.injected[request] = name;
    } else if (std::sscanf(line.c_str(), "zelk-sim: request %llu: reply sent late,%n", &request,
                           &consumed) == 1 &&
               consumed > 0) {
      parsed.late.insert(request);
    }
  }
  return parsed;
}

Tally Match(const std::vector<PollRecord>& polls, const SimLog& log) {
  const std::map<std::uint64_t, std::string>& injected = log.injected;
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
                                    : !last.empty() && FitsFault(last, poll.failure);
    if (matched) {
      ++tally.failures_matched;
    } else if (log.late.contains(poll.last_request) && RefusedReply(poll.failure)) {
      ++tally.failures_cut_by_host;
    } else {
      problem(i + 1, "a failure (kind " + std::to_string(static_cast<int>(poll.failure)) +
                         ") on request " + std::to_string(poll.last_request) +
                         (last.empty() ? " with no fault injected" : " with fault " + last));
    }
  }
  return tally;
}

}  // namespace zelk::soak
