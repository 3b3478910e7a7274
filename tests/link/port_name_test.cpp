// SPDX-License-Identifier: GPL-3.0-or-later
// From the name a technician types to the device path, and the texts that
// explain an open failure.
#include "link/port_name.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "link/frame_link.h"
#include "link/serial_line.h"

namespace zelk {
namespace {

TEST(DevicePathForPort, NamesToPaths) {
  const std::string long_name(300, 'x');
  struct Case {
    std::string name;
    std::string path;
  };
#ifdef _WIN32
  const Case cases[] = {
      {"COM1", "\\\\.\\COM1"},
      {"COM10", "\\\\.\\COM10"},
      {"", "\\\\.\\"},
      {long_name, "\\\\.\\" + long_name},
  };
#else
  const Case cases[] = {
      {"ttyUSB0", "/dev/ttyUSB0"},          {"ttyS10", "/dev/ttyS10"},
      {"/dev/pts/3", "/dev/pts/3"},         {"pts/3", "pts/3"},
      {"/tmp/zelk-link", "/tmp/zelk-link"}, {"", "/dev/"},
      {long_name, "/dev/" + long_name},
  };
#endif
  for (const Case& c : cases) EXPECT_EQ(DevicePathForPort(c.name), c.path) << c.name;
}

TEST(DescribeOpenError, EveryFailureHasItsOwnText) {
  const OpenError failures[] = {OpenError::not_found,         OpenError::busy,
                                OpenError::permission_denied, OpenError::not_a_serial_port,
                                OpenError::invalid_name,      OpenError::other};
  std::set<std::string> texts;
  for (OpenError error : failures) texts.insert(DescribeOpenError(error));
  EXPECT_EQ(texts.size(), std::size(failures));
  EXPECT_EQ(DescribeOpenError(OpenError::busy), "the port is in use by another program");
  EXPECT_EQ(DescribeOpenError(OpenError::permission_denied),
            "permission denied (on Linux, add the user to the dialout group)");
}

TEST(OpenPlatformSerialLine, FailuresSayWhy) {
  struct Case {
    std::string name;
    OpenError error;
  };
  const Case cases[] = {
      {"", OpenError::invalid_name},
#ifndef _WIN32
      {"/nonexistent-zelk-dir/ttyUSB0", OpenError::not_found},
      {"ttyZELK-none", OpenError::not_found},
      {"/dev/null", OpenError::not_a_serial_port},
      {"/tmp", OpenError::not_a_serial_port},
      {std::string(5000, 'x'), OpenError::invalid_name},
#endif
  };
  for (const Case& c : cases) {
    const OpenResult result = OpenPlatformSerialLine(c.name);
    EXPECT_EQ(result.line, nullptr) << c.name;
    EXPECT_EQ(result.error, c.error) << c.name.substr(0, 40);
    EXPECT_FALSE(result.detail.empty());
  }
}

}  // namespace
}  // namespace zelk
