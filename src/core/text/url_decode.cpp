#include <cstdint>

#include "core/text/encodings.h"

namespace quillet {
namespace {

// Value of one escape digit: its index in "0123456789ABCDEF", -2 for any other
// byte and 0 past the end. Malformed escapes therefore still yield a byte, and
// the update description relies on nothing better.
int EscapeDigit(std::string_view text, std::size_t i) {
  if (i >= text.size()) return 0;
  const char c = text[i];
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -2;
}

}  // namespace

Text UrlDecode(std::string_view text, bool fromUtf8) {
  Text out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '%') {
      out.push_back(text[i]);
      ++i;
      continue;
    }
    const int value = (EscapeDigit(text, i + 1) * 16 + EscapeDigit(text, i + 2)) & 0xFF;
    if (value != 0) out.push_back(static_cast<char>(static_cast<std::uint8_t>(value)));
    i += 3;
  }
  return fromUtf8 ? Utf8ToAnsi(out) : out;
}

}  // namespace quillet
