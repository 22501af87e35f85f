#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace quillet {

// What identifies this computer to the account service.
class MachineIdentity {
 public:
  virtual ~MachineIdentity() = default;
  // CPUID leaf 1 EDX, leaf 1 EAX, leaf 3 EDX, leaf 3 ECX, in this order.
  virtual std::array<std::uint32_t, 4> ProcessorWords() const = 0;
  // Hardware address of the first non-loopback network adapter, in a stable
  // order; nothing when the computer has none.
  virtual std::optional<std::array<std::uint8_t, 6>> FirstAdapterAddress() const = 0;
};

}  // namespace quillet
