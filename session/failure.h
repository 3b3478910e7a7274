// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Why an operation on the module did not get what it needed. The link's
// reasons and the port's open errors meet here as one list, so every front
// end decides its texts from one kind.

#include <string>
#include <string_view>

#include "link/frame_link.h"
#include "link/serial_line.h"
#include "text/translatable.h"

namespace zelk {

enum class Failure {
  none,
  // The exchange:
  no_reply,       // silence on every try (an echo of the request counts as silence)
  bad_check,      // a reply with a wrong check byte
  port_gone,      // the device vanished; the port has been closed
  not_connected,  // no port is open
  bad_request,    // the request does not fit a frame; nothing was sent
  short_reply,    // a reply that passed its check but lacked bytes the request needs
  noisy_line,     // the line would not fall quiet before the request; nothing was sent
  // Opening the port:
  no_such_port,
  port_busy,
  permission_denied,
  not_a_serial_port,
  invalid_name,
  open_failed,  // any other reason the system gave
};

// The texts the technician has always seen for a failure, in every front end.
inline constexpr std::string_view kCommunicationFailText =
    QT_TRANSLATE_NOOP("Session", "Communication Fail");
inline constexpr std::string_view kInvalidPortText =
    QT_TRANSLATE_NOOP("Session", "Invalid COMM Port");

Failure FailureOf(ExchangeFailure failure);
Failure FailureOf(OpenError error);

// True for the kinds that come from opening the port.
bool IsOpenFailure(Failure failure);

// An open failure's reason ("no such port", ...); kCommunicationFailText for
// the exchange's kinds.
std::string DescribeFailure(Failure failure);

}  // namespace zelk
