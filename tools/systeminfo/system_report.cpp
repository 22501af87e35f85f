#include "system_report.h"

#include <cstdio>
#include <ctime>

namespace quillet::systeminfo {
namespace {

// Values start in this column, as in the Windows command's report.
constexpr std::size_t kValueColumn = 27;

// Columns a UTF-8 text takes on a console: East Asian characters take two.
std::size_t DisplayWidth(const std::string& s) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      ++width;
      ++i;
    } else {
      const std::size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
      width += n >= 3 ? 2 : 1;
      i += n;
    }
  }
  return width;
}

class Report {
 public:
  void Line(const std::string& label, const std::string& value) {
    std::string line = label;
    const std::size_t width = DisplayWidth(label);
    line.append(width < kValueColumn ? kValueColumn - width : 1, ' ');
    out_ += line + value + "\n";
  }
  void More(const std::string& value, std::size_t extraIndent = 0) {
    out_ += std::string(kValueColumn + extraIndent, ' ') + value + "\n";
  }
  std::string Take() { return std::move(out_); }

 private:
  std::string out_ = "\n";
};

std::string Megabytes(std::uint64_t kib) {
  std::string digits = std::to_string(kib / 1024);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(i, ",");
  return digits + " MB";
}

std::string Numbered(std::size_t index) {
  std::string number = std::to_string(index);
  if (number.size() < 2) number.insert(0, "0");
  return "[" + number + "]: ";
}

std::string LocalTime(std::int64_t seconds) {
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm local{};
  if (!localtime_r(&t, &local)) return {};
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d/%d/%d, %d:%02d:%02d", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return buffer;
}

std::string Duration(std::int64_t seconds) {
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, "%lld 天 %lld 小时 %lld 分 %lld 秒",
                static_cast<long long>(seconds / 86400),
                static_cast<long long>(seconds / 3600 % 24),
                static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
  return buffer;
}

std::string SystemType(const std::string& machine) {
  if (machine == "x86_64") return "x64-based PC";
  if (machine == "aarch64") return "ARM64-based PC";
  if (machine.size() == 4 && machine[0] == 'i' && machine.substr(2) == "86") return "X86-based PC";
  return (machine.empty() ? std::string("unknown") : machine) + "-based PC";
}

}  // namespace

std::string FormatSystemReport(const SystemFacts& facts) {
  Report r;
  r.Line("主机名:", facts.hostName);
  r.Line("OS 名称:", facts.osName);
  r.Line("OS 版本:", facts.osVersion);
  r.Line("OS 内核:", facts.kernel);
  r.Line("系统启动时间:", facts.bootTime > 0 ? LocalTime(facts.bootTime) : std::string());
  r.Line("系统运行时间:", Duration(facts.uptimeSeconds));
  r.Line("系统类型:", SystemType(facts.architecture));
  r.Line("处理器:", "安装了 " + std::to_string(facts.processors.size()) + " 个处理器。");
  for (std::size_t i = 0; i < facts.processors.size(); ++i) {
    const Processor& p = facts.processors[i];
    r.More(Numbered(i + 1) + (p.model.empty() ? std::string("未知处理器") : p.model) + " (" +
           std::to_string(p.logicalCount) + " 个逻辑处理器)");
  }
  r.Line("物理内存总量:", Megabytes(facts.totalMemoryKiB));
  r.Line("可用的物理内存:", Megabytes(facts.availableMemoryKiB));
  r.Line("网卡:", "安装了 " + std::to_string(facts.adapters.size()) + " 个 NIC。");
  for (std::size_t i = 0; i < facts.adapters.size(); ++i) {
    const NetworkAdapter& a = facts.adapters[i];
    r.More(Numbered(i + 1) + a.name);
    r.More("连接名:      " + a.name, 6);
    r.More("物理地址:    " + (a.hardwareAddress.empty() ? std::string("无") : a.hardwareAddress),
           6);
    if (a.addresses.empty()) continue;
    r.More("IP 地址", 6);
    for (std::size_t j = 0; j < a.addresses.size(); ++j)
      r.More(Numbered(j + 1) + a.addresses[j], 6);
  }
  return r.Take();
}

}  // namespace quillet::systeminfo
