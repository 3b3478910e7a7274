// SPDX-License-Identifier: GPL-3.0-or-later
// The Linux port list from a fake /sys/class/tty.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "link/port_list.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class FakeSysfs : public ::testing::Test {
 protected:
  FakeSysfs() {
    root = fs::temp_directory_path() /
           ("zelk-sysfs-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root);
    fs::create_directories(root);
  }
  ~FakeSysfs() override { fs::remove_all(root); }

  // An entry as the kernel makes it; `with_device` adds the `device` link
  // that only driver-backed ports have.
  void Entry(const std::string& name, bool with_device) {
    fs::create_directories(root / name);
    std::ofstream(root / name / "dev") << "4:64\n";
    if (with_device)
      fs::create_directory_symlink("../../devices/platform/serial8250", root / name / "device");
  }

  fs::path root;
};

TEST_F(FakeSysfs, ListsSerialPortsWithADeviceInNaturalOrder) {
  Entry("ttyS10", true);
  Entry("ttyS2", true);
  Entry("ttyS0", true);
  Entry("ttyS3", false);  // no device behind it
  Entry("ttyUSB10", true);
  Entry("ttyUSB9", true);
  Entry("ttyACM1", true);
  Entry("rfcomm0", true);
  Entry("tty1", true);  // a virtual console
  Entry("console", true);
  Entry("ttyprintk", true);
  Entry("ptmx", false);
  EXPECT_THAT(ListSerialPortsFromSysfs(root.string()),
              ElementsAre("rfcomm0", "ttyACM1", "ttyS0", "ttyS2", "ttyS10", "ttyUSB9", "ttyUSB10"));
}

TEST_F(FakeSysfs, DeviceAsAPlainDirectoryCountsToo) {
  fs::create_directories(root / "ttyUSB0" / "device");
  EXPECT_THAT(ListSerialPortsFromSysfs(root.string()), ElementsAre("ttyUSB0"));
}

TEST_F(FakeSysfs, EmptyOrMissingDirectoryGivesNoPorts) {
  EXPECT_THAT(ListSerialPortsFromSysfs(root.string()), IsEmpty());
  EXPECT_THAT(ListSerialPortsFromSysfs((root / "missing").string()), IsEmpty());
}

}  // namespace
}  // namespace zelk
