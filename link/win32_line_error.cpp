// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/win32_line_error.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace zelk {
namespace {

// Why each code means the adapter is gone. Read on an open handle only: at
// CreateFile, access denied means another program holds the port, and a
// missing file a port that was never there.
constexpr std::uint32_t kDeviceGoneCodes[] = {
    // The classic serial driver's answer once its device has been removed.
    win32_error::kBadCommand,
    // usbser.sys and most vendor drivers (CH340, PL2303, CP210x, FTDI) after a
    // surprise removal, depending on where the request was when it came.
    win32_error::kGenFailure,
    win32_error::kDeviceRemoved,
    win32_error::kDeviceNotConnected,
    win32_error::kOperationAborted,
    // The handle outlived its device: the I/O manager refuses new requests on
    // a device that is being deleted (CH340 and CDC ports report this).
    win32_error::kAccessDenied,
    win32_error::kInvalidHandle,
    // STATUS_NO_SUCH_DEVICE and STATUS_DEVICE_DOES_NOT_EXIST from a driver
    // whose device object is gone.
    win32_error::kFileNotFound,
    win32_error::kDevNotExist,
    // Wine turns the Linux EIO of a hung-up tty (an unplugged ttyUSB, a closed
    // pty) into this.
    win32_error::kNotReady,
};

#ifdef _WIN32
static_assert(win32_error::kFileNotFound == ERROR_FILE_NOT_FOUND);
static_assert(win32_error::kAccessDenied == ERROR_ACCESS_DENIED);
static_assert(win32_error::kInvalidHandle == ERROR_INVALID_HANDLE);
static_assert(win32_error::kNotReady == ERROR_NOT_READY);
static_assert(win32_error::kBadCommand == ERROR_BAD_COMMAND);
static_assert(win32_error::kGenFailure == ERROR_GEN_FAILURE);
static_assert(win32_error::kDevNotExist == ERROR_DEV_NOT_EXIST);
static_assert(win32_error::kOperationAborted == ERROR_OPERATION_ABORTED);
static_assert(win32_error::kDeviceNotConnected == ERROR_DEVICE_NOT_CONNECTED);
static_assert(win32_error::kDeviceRemoved == ERROR_DEVICE_REMOVED);
#endif

}  // namespace

LineError LineErrorOfWin32Code(std::uint32_t code) {
  for (const std::uint32_t gone : kDeviceGoneCodes) {
    if (gone == code) return LineError::device_gone;
  }
  return LineError::other;
}

}  // namespace zelk
