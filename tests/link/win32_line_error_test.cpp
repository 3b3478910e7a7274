// SPDX-License-Identifier: GPL-3.0-or-later
// Which Windows error codes of a read or write mean the adapter was pulled.
#include "link/win32_line_error.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace zelk {
namespace {

TEST(LineErrorOfWin32Code, TheCodesOfAPulledAdapterMeanTheDeviceIsGone) {
  struct Case {
    std::uint32_t code;
    const char* name;
    LineError error;
  };
  const Case cases[] = {
      {22, "ERROR_BAD_COMMAND", LineError::device_gone},
      {31, "ERROR_GEN_FAILURE", LineError::device_gone},
      {1617, "ERROR_DEVICE_REMOVED", LineError::device_gone},
      {1167, "ERROR_DEVICE_NOT_CONNECTED", LineError::device_gone},
      {995, "ERROR_OPERATION_ABORTED", LineError::device_gone},
      {5, "ERROR_ACCESS_DENIED", LineError::device_gone},
      {6, "ERROR_INVALID_HANDLE", LineError::device_gone},
      {2, "ERROR_FILE_NOT_FOUND", LineError::device_gone},
      {55, "ERROR_DEV_NOT_EXIST", LineError::device_gone},
      {21, "ERROR_NOT_READY (wine's EIO)", LineError::device_gone},
      // Errors of a port that is still there.
      {0, "ERROR_SUCCESS", LineError::other},
      {87, "ERROR_INVALID_PARAMETER", LineError::other},
      {1117, "ERROR_IO_DEVICE", LineError::other},
      {1460, "ERROR_TIMEOUT", LineError::other},
      {121, "ERROR_SEM_TIMEOUT", LineError::other},
      {32, "ERROR_SHARING_VIOLATION", LineError::other},
      {997, "ERROR_IO_PENDING", LineError::other},
      {0xFFFFFFFFu, "no such code", LineError::other},
  };
  for (const Case& test : cases) {
    EXPECT_EQ(LineErrorOfWin32Code(test.code), test.error) << test.name;
  }
}

}  // namespace
}  // namespace zelk
