#include "platform/linux/machine_identity_linux.h"

#include <algorithm>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#if __has_include(<cpuid.h>)
#include <cpuid.h>
#define QUILLET_HAVE_CPUID_H 1
#endif

namespace quillet {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string ReadFirstLine(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return line;
}

}  // namespace

std::optional<std::array<std::uint8_t, 6>> ParseHardwareAddress(const std::string& text) {
  std::string t = text;
  while (!t.empty() && (t.back() == '\n' || t.back() == '\r' || t.back() == ' ')) t.pop_back();
  if (t.size() != 17) return std::nullopt;
  std::array<std::uint8_t, 6> out{};
  for (int k = 0; k < 6; ++k) {
    const int hi = HexValue(t[k * 3]);
    const int lo = HexValue(t[k * 3 + 1]);
    if (hi < 0 || lo < 0 || (k < 5 && t[k * 3 + 2] != ':')) return std::nullopt;
    out[k] = static_cast<std::uint8_t>(hi * 16 + lo);
  }
  return out;
}

LinuxMachineIdentity::LinuxMachineIdentity(std::filesystem::path netClassRoot)
    : netClassRoot_(std::move(netClassRoot)) {}

std::array<std::uint32_t, 4> LinuxMachineIdentity::ProcessorWords() const {
  std::array<std::uint32_t, 4> words{};
#ifdef QUILLET_HAVE_CPUID_H
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (__get_cpuid(1, &eax, &ebx, &ecx, &edx)) {
    words[0] = edx;
    words[1] = eax;
  }
  // Leaf 3 (processor serial number) is gone from current processors;
  // __get_cpuid then reports failure and the words stay 0.
  eax = ebx = ecx = edx = 0;
  if (__get_cpuid(3, &eax, &ebx, &ecx, &edx)) {
    words[2] = edx;
    words[3] = ecx;
  }
#endif
  return words;
}

std::optional<std::array<std::uint8_t, 6>> LinuxMachineIdentity::FirstAdapterAddress() const {
  std::error_code ec;
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(netClassRoot_, ec)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    if (name == "lo") continue;
    const auto address = ParseHardwareAddress(ReadFirstLine(netClassRoot_ / name / "address"));
    if (!address) continue;
    if (std::all_of(address->begin(), address->end(), [](std::uint8_t b) { return b == 0; })) {
      continue;
    }
    return address;
  }
  return std::nullopt;
}

}  // namespace quillet
