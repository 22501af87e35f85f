#include "core/net/request_headers.h"

#include "core/net/header_names.h"

namespace quillet {

namespace {

bool IsTokenChar(unsigned char c) {
  if (c >= '0' && c <= '9') return true;
  if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') return true;
  return std::string_view("!#$%&'*+-.^_`|~").find(static_cast<char>(c)) != std::string_view::npos;
}

bool IsSafeValue(std::string_view value) {
  return value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

}  // namespace

bool IsHeaderName(std::string_view name) {
  if (name.empty()) return false;
  for (const char c : name) {
    if (!IsTokenChar(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

bool RequestHeaders::Set(std::string_view name, std::string_view value) {
  if (!IsHeaderName(name) || !IsSafeValue(value)) return false;
  std::string line = std::string(name) + ": " + std::string(value);
  for (std::string& existing : lines_) {
    if (TextUpper(HeaderLineName(existing)) == TextUpper(name)) {
      existing = std::move(line);
      return true;
    }
  }
  lines_.push_back(std::move(line));
  return true;
}

bool RequestHeaders::AddLine(std::string_view line) {
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos || !IsHeaderName(HeaderLineName(line)) ||
      !IsSafeValue(line)) {
    return false;
  }
  lines_.emplace_back(line);
  return true;
}

bool RequestHeaders::Has(std::string_view name) const {
  for (const std::string& line : lines_) {
    if (TextUpper(HeaderLineName(line)) == TextUpper(name)) return true;
  }
  return false;
}

}  // namespace quillet
