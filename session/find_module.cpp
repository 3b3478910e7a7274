// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/find_module.h"

#include <algorithm>
#include <exception>
#include <utility>

namespace zelk {

namespace {

ProbeVerdict VerdictOf(Failure failure) {
  if (failure == Failure::none) return ProbeVerdict::answered;
  return IsOpenFailure(failure) ? ProbeVerdict::not_opened : ProbeVerdict::no_answer;
}

}  // namespace

PortProbe ProbePort(const std::string& port, const LineOpener& opener,
                    const std::function<bool()>& stop) {
  PortProbe probe;
  probe.port = port;
  if (stop && stop()) return probe;
  // A session of its own: the link, its retries and its closing, as for a
  // connect from the windows, but nothing shared with another thread.
  Session session(opener);
  const Outcome opened = session.Open(port);
  if (!opened.ok()) {
    probe.version.failure = opened.failure;
    probe.version.detail = opened.detail;
    probe.verdict = ProbeVerdict::not_opened;
    return probe;
  }
  if (stop && stop()) {
    session.Close();
    return probe;
  }
  probe.version = session.ReadVersion();
  session.Close();
  probe.verdict = VerdictOf(probe.version.failure);
  return probe;
}

ModuleSearch::ModuleSearch(std::vector<std::string> ports, LineOpener opener,
                           std::function<bool()> stop)
    : ports_(std::move(ports)), opener_(std::move(opener)), stop_(std::move(stop)) {
  place_.reserve(ports_.size());
  for (const std::string& port : ports_) {
    const auto known = std::find(distinct_.begin(), distinct_.end(), port);
    place_.push_back(static_cast<std::size_t>(known - distinct_.begin()));
    if (known == distinct_.end()) distinct_.push_back(port);
  }
  probes_.resize(distinct_.size());
  for (std::size_t i = 0; i < distinct_.size(); ++i) probes_[i].port = distinct_[i];
}

ModuleSearch::~ModuleSearch() {
  Cancel();
  for (std::thread& thread : threads_) {
    if (thread.joinable()) thread.join();
  }
}

bool ModuleSearch::Stopping() const {
  return cancel_.load() || (stop_ && stop_());
}

void ModuleSearch::Start() {
  if (!threads_.empty()) return;
  const std::size_t count = std::min(kSearchThreads, distinct_.size());
  threads_.reserve(count);
  for (std::size_t i = 0; i < count; ++i) threads_.emplace_back([this] { Work(); });
}

void ModuleSearch::Work() {
  const std::function<bool()> stopping = [this] { return Stopping(); };
  for (std::size_t index = next_++; index < distinct_.size(); index = next_++) {
    PortProbe& probe = probes_[index];
    try {
      probe = ProbePort(distinct_[index], opener_, stopping);
    } catch (const std::exception& error) {
      // An opener that throws must not take the program down with the thread.
      probe.verdict = ProbeVerdict::not_opened;
      probe.version.failure = Failure::open_failed;
      probe.version.detail = error.what();
    }
    ++finished_;
  }
}

std::vector<PortProbe> ModuleSearch::Wait() {
  for (std::thread& thread : threads_) {
    if (thread.joinable()) thread.join();
  }
  std::vector<PortProbe> results;
  results.reserve(ports_.size());
  for (std::size_t i = 0; i < ports_.size(); ++i) {
    results.push_back(probes_[place_[i]]);
    results.back().port = ports_[i];
  }
  return results;
}

std::vector<PortProbe> FindModule(const std::vector<std::string>& ports, LineOpener opener,
                                  std::function<bool()> stop) {
  ModuleSearch search(ports, std::move(opener), std::move(stop));
  search.Start();
  return search.Wait();
}

std::optional<std::size_t> FirstAnswered(const std::vector<PortProbe>& probes) {
  for (std::size_t i = 0; i < probes.size(); ++i) {
    if (probes[i].verdict == ProbeVerdict::answered) return i;
  }
  return std::nullopt;
}

}  // namespace zelk
