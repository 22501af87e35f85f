#include "system_facts.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace quillet::systeminfo {
namespace {

std::string Trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

// os-release values may be quoted; the quotes are not part of the value.
std::map<std::string, std::string> ReadOsRelease() {
  std::map<std::string, std::string> values;
  std::ifstream in("/etc/os-release");
  if (!in) in.open("/usr/lib/os-release");
  std::string line;
  while (std::getline(in, line)) {
    const auto eq = line.find('=');
    if (eq == std::string::npos || line[0] == '#') continue;
    std::string value = Trim(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    values[Trim(line.substr(0, eq))] = value;
  }
  return values;
}

std::vector<Processor> ReadProcessors() {
  std::ifstream in("/proc/cpuinfo");
  std::map<std::string, Processor> packages;
  std::string line, model, package = "0";
  auto flush = [&] {
    if (model.empty()) return;
    Processor& p = packages[package];
    if (p.model.empty()) p.model = model;
    ++p.logicalCount;
  };
  bool inEntry = false;
  while (std::getline(in, line)) {
    if (Trim(line).empty()) {
      if (inEntry) flush();
      inEntry = false;
      model.clear();
      package = "0";
      continue;
    }
    inEntry = true;
    const auto colon = line.find(':');
    if (colon == std::string::npos) continue;
    const std::string key = Trim(line.substr(0, colon));
    const std::string value = Trim(line.substr(colon + 1));
    if (key == "model name" || (key == "Hardware" && model.empty()) ||
        (key == "cpu model" && model.empty())) {
      model = value;
    } else if (key == "physical id") {
      package = value;
    }
  }
  if (inEntry) flush();
  std::vector<Processor> result;
  for (auto& [id, p] : packages) result.push_back(p);
  if (result.empty()) {
    const long n = sysconf(_SC_NPROCESSORS_ONLN);
    result.push_back({"", n > 0 ? static_cast<int>(n) : 1});
  }
  return result;
}

void ReadMemory(SystemFacts& facts) {
  std::ifstream in("/proc/meminfo");
  std::string key;
  std::uint64_t value = 0;
  std::string unit;
  while (in >> key >> value) {
    std::getline(in, unit);
    if (key == "MemTotal:") facts.totalMemoryKiB = value;
    if (key == "MemAvailable:") facts.availableMemoryKiB = value;
  }
}

void ReadTimes(SystemFacts& facts) {
  std::ifstream stat("/proc/stat");
  std::string key;
  while (stat >> key) {
    if (key == "btime") {
      stat >> facts.bootTime;
      break;
    }
    stat.ignore(1 << 20, '\n');
  }
  std::ifstream uptime("/proc/uptime");
  double seconds = 0;
  if (uptime >> seconds) facts.uptimeSeconds = static_cast<std::int64_t>(seconds);
}

std::string HardwareAddress(const sockaddr_ll* link) {
  if (link->sll_halen == 0) return {};
  std::string out;
  char part[4];
  for (int i = 0; i < link->sll_halen && i < 8; ++i) {
    std::snprintf(part, sizeof part, i ? "-%02X" : "%02X", link->sll_addr[i]);
    out += part;
  }
  return out;
}

std::vector<NetworkAdapter> ReadAdapters() {
  std::map<std::string, NetworkAdapter> adapters;
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return {};
  for (const ifaddrs* a = list; a; a = a->ifa_next) {
    if (!a->ifa_name || (a->ifa_flags & IFF_LOOPBACK)) continue;
    NetworkAdapter& adapter = adapters[a->ifa_name];
    adapter.name = a->ifa_name;
    if (!a->ifa_addr) continue;
    char text[INET6_ADDRSTRLEN] = {};
    switch (a->ifa_addr->sa_family) {
      case AF_PACKET:
        adapter.hardwareAddress =
            HardwareAddress(reinterpret_cast<const sockaddr_ll*>(a->ifa_addr));
        break;
      case AF_INET:
        if (inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(a->ifa_addr)->sin_addr, text,
                      sizeof text)) {
          adapter.addresses.push_back(text);
        }
        break;
      case AF_INET6:
        if (inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(a->ifa_addr)->sin6_addr,
                      text, sizeof text)) {
          adapter.addresses.push_back(text);
        }
        break;
      default:
        break;
    }
  }
  freeifaddrs(list);
  std::vector<NetworkAdapter> result;
  for (auto& [name, adapter] : adapters) result.push_back(std::move(adapter));
  return result;
}

}  // namespace

SystemFacts GatherSystemFacts() {
  SystemFacts facts;
  char host[256] = {};
  if (gethostname(host, sizeof host - 1) == 0) facts.hostName = host;
  const auto os = ReadOsRelease();
  auto value = [&](const char* key) {
    const auto it = os.find(key);
    return it == os.end() ? std::string() : it->second;
  };
  facts.osName = value("PRETTY_NAME").empty() ? value("NAME") : value("PRETTY_NAME");
  facts.osVersion = value("VERSION").empty() ? value("VERSION_ID") : value("VERSION");
  utsname u{};
  if (uname(&u) == 0) {
    facts.kernel = std::string(u.sysname) + " " + u.release;
    facts.architecture = u.machine;
  }
  facts.processors = ReadProcessors();
  ReadMemory(facts);
  ReadTimes(facts);
  facts.adapters = ReadAdapters();
  return facts;
}

}  // namespace quillet::systeminfo
