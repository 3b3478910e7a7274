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

// A USB device as sysfs lays it out: the adapter's directory with its
// `product`, and the tty's `device` link `levels` below it.
void UsbPort(const fs::path& root, const std::string& tty, const std::string& below,
             const std::string& product) {
  const fs::path usb = root / "devices" / "usb1" / ("1-" + tty);
  fs::create_directories(usb / below);
  if (!product.empty()) std::ofstream(usb / "product", std::ios::binary) << product;
  fs::create_directories(root / tty);
  fs::create_directory_symlink(usb / below, root / tty / "device");
}

TEST_F(FakeSysfs, DescribesUsbPortsByTheirProductName) {
  UsbPort(root, "ttyUSB0", "1-1:1.0/ttyUSB0", "USB Serial\n");            // two levels below
  UsbPort(root, "ttyACM0", "1-2:1.0", "CP2102 \x01UART\x7f Bridge  \n");  // one; control bytes
  UsbPort(root, "ttyUSB1", "1-3:1.0/ttyUSB1", "");                        // no product file
  UsbPort(root, "ttyUSB2", "1-4:1.0/ttyUSB2", std::string(300, 'x'));     // longer than USB allows
  Entry("ttyS0", false);
  fs::create_directories(root / "devices" / "platform" / "serial8250");
  fs::create_directory_symlink(root / "devices" / "platform" / "serial8250",
                               root / "ttyS0" / "device");
  EXPECT_THAT(ListDescribedSerialPortsFromSysfs(root.string()),
              ElementsAre(ListedPort{"ttyACM0", "CP2102 UART Bridge"}, ListedPort{"ttyS0", ""},
                          ListedPort{"ttyUSB0", "USB Serial"}, ListedPort{"ttyUSB1", ""},
                          ListedPort{"ttyUSB2", std::string(126, 'x')}));
}

TEST_F(FakeSysfs, AnUnlistedPortExistsByItsPath) {
  std::ofstream(root / "pty") << "";
  EXPECT_TRUE(UnlistedPortExists((root / "pty").string()));
  EXPECT_FALSE(UnlistedPortExists((root / "gone").string()));
  EXPECT_FALSE(UnlistedPortExists("ttyZELKNOWHERE"));  // under /dev
  EXPECT_FALSE(UnlistedPortExists(""));
}

TEST(ListedPortText, FriendlyNameWithThePortNameOnce) {
  struct Case {
    ListedPort port;
    const char* text;
  };
  const Case cases[] = {
      {{"COM7", "USB-SERIAL CH340 (COM7)"}, "USB-SERIAL CH340 (COM7)"},  // Windows names it
      {{"COM7", "USB-SERIAL CH340 (COM17)"}, "USB-SERIAL CH340 (COM17) (COM7)"},
      {{"ttyUSB0", "FT232R USB UART"}, "FT232R USB UART (ttyUSB0)"},
      {{"COM1", ""}, "COM1"},
      {{"", ""}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ListedPortText(c.port), c.text) << c.port.description;
}

TEST_F(FakeSysfs, EmptyOrMissingDirectoryGivesNoPorts) {
  EXPECT_THAT(ListSerialPortsFromSysfs(root.string()), IsEmpty());
  EXPECT_THAT(ListSerialPortsFromSysfs((root / "missing").string()), IsEmpty());
}

}  // namespace
}  // namespace zelk
