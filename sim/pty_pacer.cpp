// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/pty_pacer.h"

#include <algorithm>

namespace zelk::sim {

void PtyPacer::Queue(const std::vector<TimedByte>& bytes, std::uint64_t request) {
  QueueOnLine(bytes_, bytes);
  requests_.insert(requests_.end(), bytes.size(), request);
}

std::size_t PtyPacer::PieceLength() const {
  std::size_t n = 0;
  while (n < bytes_.size() && n < kMaxWrite) {
    if (n > 0 && bytes_[n].at_ms - bytes_[n - 1].at_ms > kPlannedPauseMs) break;
    ++n;
  }
  return n;
}

std::optional<double> PtyPacer::NextDueMs() const {
  if (bytes_.empty()) return std::nullopt;
  if (pace_ == Pace::reply) return bytes_[PieceLength() - 1].at_ms;
  return bytes_.front().at_ms;
}

std::vector<std::uint8_t> PtyPacer::TakeDue(double now_ms) {
  const std::size_t piece = PieceLength();
  std::size_t n = 0;
  if (pace_ == Pace::reply) {
    if (piece > 0 && bytes_[piece - 1].at_ms <= now_ms) n = piece;
  } else {
    while (n < piece && bytes_[n].at_ms <= now_ms) ++n;
  }
  if (n == 0) return {};

  std::vector<std::uint8_t> out;
  out.reserve(n);
  for (std::size_t i = 0; i < n; ++i) out.push_back(bytes_[i].value);
  Written written{now_ms, bytes_.front().at_ms, bytes_[n - 1].at_ms, requests_.front(),
                  requests_[n - 1]};
  bytes_.erase(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(n));
  requests_.erase(requests_.begin(), requests_.begin() + static_cast<std::ptrdiff_t>(n));

  const double late = now_ms - written.last_planned_ms;
  if (late > 0 && !bytes_.empty() &&
      bytes_.front().at_ms - written.last_planned_ms > kPlannedPauseMs) {
    for (TimedByte& byte : bytes_) byte.at_ms += late;
    // The plan now goes on from this write: the pause is judged from it.
    written.last_planned_ms = now_ms;
  }
  current_ = written;
  return out;
}

void PtyPacer::Sent(double now_ms) {
  if (!current_) return;
  // Lateness is judged between two writes of the same reply: on the client's
  // side a gap there is what its 20 ms rule measures. A reply that starts
  // late is only a slow module, which the client waits for.
  if (previous_ && previous_->last_request == current_->first_request) {
    const double longest_gap = now_ms - previous_->started_ms;
    const double planned_gap = current_->first_planned_ms - previous_->last_planned_ms;
    const double late = longest_gap - planned_gap;
    if (late > kLateGapMs && current_->first_request != last_late_request_) {
      last_late_request_ = current_->first_request;
      ++late_replies_;
      late_.push_back({current_->first_request, late});
    }
  }
  previous_ = current_;
  current_.reset();
}

std::vector<LateReply> PtyPacer::TakeLate() {
  std::vector<LateReply> taken;
  taken.swap(late_);
  return taken;
}

}  // namespace zelk::sim
