// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/failure.h"

#include <array>
#include <utility>

namespace zelk {

namespace {

constexpr std::array<std::pair<OpenError, Failure>, 6> kOpenFailures{{
    {OpenError::not_found, Failure::no_such_port},
    {OpenError::busy, Failure::port_busy},
    {OpenError::permission_denied, Failure::permission_denied},
    {OpenError::not_a_serial_port, Failure::not_a_serial_port},
    {OpenError::invalid_name, Failure::invalid_name},
    {OpenError::other, Failure::open_failed},
}};

}  // namespace

Failure FailureOf(ExchangeFailure failure) {
  switch (failure) {
    case ExchangeFailure::none:
      return Failure::none;
    case ExchangeFailure::not_open:
      return Failure::not_connected;
    case ExchangeFailure::bad_request:
      return Failure::bad_request;
    case ExchangeFailure::no_reply:
      return Failure::no_reply;
    case ExchangeFailure::bad_check:
      return Failure::bad_check;
    case ExchangeFailure::device_gone:
      return Failure::port_gone;
    case ExchangeFailure::short_reply:
      return Failure::short_reply;
    case ExchangeFailure::noisy_line:
      return Failure::noisy_line;
  }
  return Failure::no_reply;
}

Failure FailureOf(OpenError error) {
  if (error == OpenError::none) return Failure::none;
  for (const auto& [open_error, failure] : kOpenFailures) {
    if (open_error == error) return failure;
  }
  return Failure::open_failed;
}

bool IsOpenFailure(Failure failure) {
  for (const auto& entry : kOpenFailures) {
    if (entry.second == failure) return true;
  }
  return false;
}

std::string DescribeFailure(Failure failure) {
  for (const auto& [open_error, kind] : kOpenFailures) {
    if (kind == failure) return DescribeOpenError(open_error);
  }
  return std::string(kCommunicationFailText);
}

}  // namespace zelk
