#pragma once

#include <filesystem>

#include "core/platform/machine_identity.h"

namespace quillet {

// The processor words from CPUID and the hardware address of the first
// non-loopback adapter with a non-zero address, adapters taken in name order
// so that the answer does not change between runs.
class LinuxMachineIdentity final : public MachineIdentity {
 public:
  // `netClassRoot` is where the adapters are listed; tests point it at a
  // temporary folder shaped like /sys/class/net.
  explicit LinuxMachineIdentity(std::filesystem::path netClassRoot = "/sys/class/net");

  std::array<std::uint32_t, 4> ProcessorWords() const override;
  std::optional<std::array<std::uint8_t, 6>> FirstAdapterAddress() const override;

 private:
  std::filesystem::path netClassRoot_;
};

// "aa:bb:cc:dd:ee:ff" (either case) -> the six bytes; nothing otherwise.
std::optional<std::array<std::uint8_t, 6>> ParseHardwareAddress(const std::string& text);

}  // namespace quillet
