#include "core/script/json_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace quillet::json {

void AppendNumberText(double number, std::string& out) {
  if (std::isnan(number)) {
    out += "NaN";
    return;
  }
  if (std::isinf(number)) {
    out += number < 0 ? "-Infinity" : "Infinity";
    return;
  }
  if (number == 0) {
    out += '0';
    return;
  }
  char buffer[64];
  // Integers below 2^53 print as themselves.
  if (std::fabs(number) < 9007199254740992.0 && number == std::trunc(number)) {
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(number));
    out.append(buffer, static_cast<std::size_t>(r.ptr - buffer));
    return;
  }
  // Below 2^53 a number with a fraction comes out of the shortest round-trip
  // form in plain notation only where the script writes it plainly too (from
  // 1e-6 on). Beyond, plain notation would spell out every integer digit.
  if (std::fabs(number) < 9007199254740992.0) {
    const auto plain = std::to_chars(buffer, buffer + sizeof buffer, number);
    if (std::find(buffer, plain.ptr, 'e') == plain.ptr) {
      out.append(buffer, static_cast<std::size_t>(plain.ptr - buffer));
      return;
    }
  }
  // Shortest round-trip digits in scientific form, e.g. "-1.2345e+02".
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::scientific);
  const char* p = buffer;
  const char* end = result.ptr;
  if (*p == '-') {
    out += '-';
    ++p;
  }
  char digits[32];
  int k = 0;
  for (; p != end && *p != 'e'; ++p) {
    if (*p != '.') digits[k++] = *p;
  }
  int exponent = 0;
  if (p != end) {
    ++p;
    if (*p == '+') ++p;
    std::from_chars(p, end, exponent);
  }
  const int n = exponent + 1;  // digits before the decimal point
  if (k <= n && n <= 21) {
    out.append(digits, static_cast<std::size_t>(k));
    out.append(static_cast<std::size_t>(n - k), '0');
  } else if (0 < n && n <= 21) {
    out.append(digits, static_cast<std::size_t>(n));
    out += '.';
    out.append(digits + n, static_cast<std::size_t>(k - n));
  } else if (-6 < n && n <= 0) {
    out += "0.";
    out.append(static_cast<std::size_t>(-n), '0');
    out.append(digits, static_cast<std::size_t>(k));
  } else {
    out += digits[0];
    if (k > 1) {
      out += '.';
      out.append(digits + 1, static_cast<std::size_t>(k - 1));
    }
    out += 'e';
    out += n - 1 < 0 ? '-' : '+';
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, std::abs(n - 1));
    out.append(buffer, static_cast<std::size_t>(r.ptr - buffer));
  }
}

std::string NumberToText(double number) {
  std::string out;
  AppendNumberText(number, out);
  return out;
}

double DecimalToDouble(std::string_view literal) {
  double value = 0;
  const char* first = literal.data();
  const char* last = first + literal.size();
  const bool negative = first != last && *first == '-';
  if (first != last && (*first == '-' || *first == '+')) ++first;
  const auto result = std::from_chars(first, last, value);
  if (result.ec == std::errc::result_out_of_range) {
    // Estimate the decimal magnitude to tell overflow from underflow.
    long magnitude = 0;
    bool seenDigit = false;
    bool afterPoint = false;
    const char* p = first;
    for (; p != last && *p != 'e' && *p != 'E'; ++p) {
      if (*p == '.') {
        afterPoint = true;
      } else if (*p != '0' || seenDigit) {
        if (!seenDigit && afterPoint) ++magnitude;
        seenDigit = true;
        if (!afterPoint) ++magnitude;
      } else if (afterPoint) {
        --magnitude;
      }
    }
    long exponent = 0;
    if (p != last) {
      ++p;
      const bool negExp = p != last && *p == '-';
      if (p != last && (*p == '-' || *p == '+')) ++p;
      for (; p != last && exponent < 100000; ++p) exponent = exponent * 10 + (*p - '0');
      if (negExp) exponent = -exponent;
    }
    value = magnitude + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (result.ec != std::errc()) {
    value = 0;
  }
  return negative ? -value : value;
}

bool TextToNumber(std::string_view text, double& number) {
  std::size_t b = 0;
  std::size_t e = text.size();
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (b < e && blank(text[b])) ++b;
  while (e > b && blank(text[e - 1])) --e;
  const std::string_view t = text.substr(b, e - b);
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < t.size() && (t[j] == '+' || t[j] == '-')) ++j;
    std::size_t expDigits = 0;
    while (j < t.size() && t[j] >= '0' && t[j] <= '9') ++j, ++expDigits;
    if (expDigits == 0) return false;
    i = j;
  }
  if (i != t.size()) return false;
  number = DecimalToDouble(t);
  return true;
}

}  // namespace quillet::json
