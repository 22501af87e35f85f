#include "platform/linux/profile_script.h"

#include <algorithm>

namespace quillet {
namespace {

constexpr std::string_view kValuePrefix = "# quillet-value ";

bool IsIdentifier(std::string_view s) {
  if (s.empty()) return false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    if (!letter && !(i > 0 && c >= '0' && c <= '9')) return false;
  }
  return true;
}

bool IsPathName(std::string_view name) {
  return name.size() == 4 && (name[0] | 0x20) == 'p' && (name[1] | 0x20) == 'a' &&
         (name[2] | 0x20) == 't' && (name[3] | 0x20) == 'h';
}

// Length of a "%NAME%" reference starting at `pos`, or 0.
std::size_t ReferenceLength(std::string_view value, std::size_t pos) {
  if (value[pos] != '%') return 0;
  const auto close = value.find('%', pos + 1);
  if (close == std::string_view::npos || !IsIdentifier(value.substr(pos + 1, close - pos - 1))) {
    return 0;
  }
  return close - pos + 1;
}

bool HasReference(std::string_view value) {
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (ReferenceLength(value, i) > 0) return true;
  }
  return false;
}

std::string ShellElement(std::string_view element) {
  std::string out;
  for (std::size_t i = 0; i < element.size();) {
    if (const std::size_t n = ReferenceLength(element, i)) {
      out += "${" + ShellName(element.substr(i + 1, n - 2)) + "}";
      i += n;
      continue;
    }
    const char c = element[i++];
    switch (c) {
      case '\\':
        out += '/';
        break;
      case '"':
      case '$':
      case '`':
        out += '\\';
        out += c;
        break;
      default:
        out += c;
    }
  }
  return out;
}

}  // namespace

std::string ShellName(std::string_view name) {
  return IsPathName(name) ? std::string("PATH") : std::string(name);
}

std::string ShellValue(std::string_view value) {
  std::string out;
  std::size_t start = 0;
  while (start <= value.size()) {
    auto end = value.find(';', start);
    if (end == std::string_view::npos) end = value.size();
    if (end > start) {
      if (!out.empty()) out += ':';
      out += ShellElement(value.substr(start, end - start));
    }
    start = end + 1;
  }
  return out;
}

std::optional<std::string> RenderProfileLines(const std::vector<ProfileVariable>& variables) {
  for (const ProfileVariable& v : variables) {
    if (!IsIdentifier(v.name) ||
        v.value.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
      return std::nullopt;
    }
  }
  std::vector<const ProfileVariable*> order;
  for (const ProfileVariable& v : variables) order.push_back(&v);
  std::stable_partition(order.begin(), order.end(),
                        [](const ProfileVariable* v) { return !HasReference(v->value); });
  std::string lines;
  for (const ProfileVariable& v : variables) {
    lines += std::string(kValuePrefix) + v.name + "=" + v.value + "\n";
  }
  for (const ProfileVariable* v : order) {
    // An empty PATH would leave the session without any command.
    if (ShellName(v->name) == "PATH" && ShellValue(v->value).empty()) continue;
    lines += "export " + ShellName(v->name) + "=\"" + ShellValue(v->value) + "\"\n";
  }
  return lines;
}

std::vector<ProfileVariable> ParseProfileLines(std::string_view lines) {
  std::vector<ProfileVariable> variables;
  std::size_t start = 0;
  while (start < lines.size()) {
    auto end = lines.find('\n', start);
    if (end == std::string_view::npos) end = lines.size();
    std::string_view line = lines.substr(start, end - start);
    start = end + 1;
    if (line.substr(0, kValuePrefix.size()) != kValuePrefix) continue;
    line.remove_prefix(kValuePrefix.size());
    const auto equals = line.find('=');
    if (equals == std::string_view::npos || !IsIdentifier(line.substr(0, equals))) continue;
    variables.push_back(
        {std::string(line.substr(0, equals)), std::string(line.substr(equals + 1))});
  }
  return variables;
}

}  // namespace quillet
