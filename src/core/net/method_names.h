#pragma once

#include <string_view>

namespace quillet {

// The request method of a method number; numbers outside 0..7 mean GET.
constexpr std::string_view MethodName(int method) {
  constexpr std::string_view kNames[] = {"GET",     "POST",   "HEAD",  "PUT",
                                         "OPTIONS", "DELETE", "TRACE", "CONNECT"};
  return (method < 0 || method > 7) ? kNames[0] : kNames[method];
}

// The method number itself after the same fallback.
constexpr int MethodNumber(int method) { return (method < 0 || method > 7) ? 0 : method; }

}  // namespace quillet
