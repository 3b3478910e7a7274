// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/failure.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

TEST(Failure, FromTheLinkAndThePort) {
  const struct {
    ExchangeFailure link;
    Failure failure;
  } exchanges[] = {
      {ExchangeFailure::none, Failure::none},
      {ExchangeFailure::not_open, Failure::not_connected},
      {ExchangeFailure::bad_request, Failure::bad_request},
      {ExchangeFailure::no_reply, Failure::no_reply},
      {ExchangeFailure::bad_check, Failure::bad_check},
      {ExchangeFailure::device_gone, Failure::port_gone},
      {ExchangeFailure::short_reply, Failure::short_reply},
      {ExchangeFailure::noisy_line, Failure::noisy_line},
  };
  for (const auto& c : exchanges) {
    EXPECT_EQ(FailureOf(c.link), c.failure);
    EXPECT_FALSE(IsOpenFailure(c.failure));
    EXPECT_EQ(DescribeFailure(c.failure), "Communication Fail");
  }
  const struct {
    OpenError open;
    Failure failure;
    const char* text;
  } opens[] = {
      {OpenError::not_found, Failure::no_such_port, "no such port"},
      {OpenError::busy, Failure::port_busy, "the port is in use by another program"},
      {OpenError::permission_denied, Failure::permission_denied,
       "permission denied (on Linux, add the user to the dialout group)"},
      {OpenError::not_a_serial_port, Failure::not_a_serial_port, "not a serial port"},
      {OpenError::invalid_name, Failure::invalid_name, "no usable port name given"},
      {OpenError::other, Failure::open_failed, "the port could not be opened"},
  };
  for (const auto& c : opens) {
    EXPECT_EQ(FailureOf(c.open), c.failure);
    EXPECT_TRUE(IsOpenFailure(c.failure));
    EXPECT_EQ(DescribeFailure(c.failure), c.text);
  }
  EXPECT_EQ(FailureOf(OpenError::none), Failure::none);
}

}  // namespace
}  // namespace zelk
