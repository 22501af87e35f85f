#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillet::systeminfo {

struct NetworkAdapter {
  std::string name;
  std::string hardwareAddress;  // "02-42-AC-11-00-02", empty when it has none
  std::vector<std::string> addresses;
};

struct Processor {
  std::string model;
  int logicalCount = 0;
};

// What this machine says about itself. Facts it cannot learn stay empty or 0.
struct SystemFacts {
  std::string hostName;
  std::string osName;
  std::string osVersion;
  std::string kernel;
  std::string architecture;
  std::vector<Processor> processors;  // one per physical package
  std::uint64_t totalMemoryKiB = 0;
  std::uint64_t availableMemoryKiB = 0;
  std::int64_t bootTime = 0;  // seconds since the epoch
  std::int64_t uptimeSeconds = 0;
  std::vector<NetworkAdapter> adapters;  // not loopback, in name order
};

SystemFacts GatherSystemFacts();

}  // namespace quillet::systeminfo
