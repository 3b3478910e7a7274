// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a failing ReadFile or WriteFile on an open COM port means. USB-serial
// drivers do not agree on how they say the adapter was pulled: the classic
// serial driver's ERROR_BAD_COMMAND, a general failure, "device removed",
// "not connected", an aborted request, or access denied on a handle that was
// granted a moment ago. All of them mean the port is no more, so the link
// closes it and the reconnect watch takes over, as on Linux.
//
// A pure function of the error code, built on every system, so the table is
// tested on Linux as well as under wine.

#include <cstdint>

#include "link/serial_line.h"

namespace zelk {

// The Windows error codes the table names (winerror.h), spelled out so the
// table builds where <windows.h> does not exist.
namespace win32_error {
inline constexpr std::uint32_t kFileNotFound = 2;
inline constexpr std::uint32_t kAccessDenied = 5;
inline constexpr std::uint32_t kInvalidHandle = 6;
inline constexpr std::uint32_t kNotReady = 21;
inline constexpr std::uint32_t kBadCommand = 22;
inline constexpr std::uint32_t kGenFailure = 31;
inline constexpr std::uint32_t kDevNotExist = 55;
inline constexpr std::uint32_t kOperationAborted = 995;
inline constexpr std::uint32_t kDeviceNotConnected = 1167;
inline constexpr std::uint32_t kDeviceRemoved = 1617;
}  // namespace win32_error

// LineError::device_gone for the codes a vanished device gives on an open
// handle, LineError::other for any other code (a timeout is no error at all:
// the read returns fewer bytes).
LineError LineErrorOfWin32Code(std::uint32_t code);

}  // namespace zelk
