#include "platform/linux/machine_identity_linux.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

namespace quillet {
namespace {

namespace fs = std::filesystem;

class TempNetRoot {
 public:
  TempNetRoot() {
    std::random_device rd;
    root_ = fs::temp_directory_path() / ("quillet_net_" + std::to_string(rd()));
    fs::create_directories(root_);
  }
  ~TempNetRoot() {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  void Add(const std::string& name, const std::string& address) {
    fs::create_directories(root_ / name);
    std::ofstream(root_ / name / "address") << address << "\n";
  }
  const fs::path& path() const { return root_; }

 private:
  fs::path root_;
};

using Address = std::array<std::uint8_t, 6>;

TEST(LinuxMachineIdentity, FirstNamedAdapterWithARealAddress) {
  TempNetRoot net;
  net.Add("wlp2s0", "aa:bb:cc:dd:ee:ff");
  net.Add("lo", "00:00:00:00:00:00");
  net.Add("enp0s31f6", "00:1A:2b:3c:4d:5e");
  net.Add("dummy0", "00:00:00:00:00:00");  // sorts first, zero address
  net.Add("broken", "not an address");
  const auto address = LinuxMachineIdentity(net.path()).FirstAdapterAddress();
  ASSERT_TRUE(address.has_value());
  EXPECT_EQ(*address, (Address{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}));
}

TEST(LinuxMachineIdentity, NoAdapterWhenOnlyLoopbackOrNothing) {
  TempNetRoot net;
  net.Add("lo", "00:00:00:00:00:00");
  EXPECT_FALSE(LinuxMachineIdentity(net.path()).FirstAdapterAddress().has_value());
  EXPECT_FALSE(LinuxMachineIdentity(net.path() / "missing").FirstAdapterAddress().has_value());
}

TEST(LinuxMachineIdentity, HardwareAddressText) {
  EXPECT_EQ(ParseHardwareAddress("01:23:45:67:89:ab\n"),
            (Address{0x01, 0x23, 0x45, 0x67, 0x89, 0xAB}));
  EXPECT_FALSE(ParseHardwareAddress("01:23:45:67:89").has_value());
  EXPECT_FALSE(ParseHardwareAddress("01-23-45-67-89-ab").has_value());
  EXPECT_FALSE(ParseHardwareAddress("0g:23:45:67:89:ab").has_value());
  EXPECT_FALSE(ParseHardwareAddress("").has_value());
}

TEST(LinuxMachineIdentity, SameAnswerOnEveryCall) {
  const LinuxMachineIdentity identity;
  EXPECT_EQ(identity.ProcessorWords(), identity.ProcessorWords());
  EXPECT_EQ(identity.FirstAdapterAddress(), identity.FirstAdapterAddress());
}

}  // namespace
}  // namespace quillet
