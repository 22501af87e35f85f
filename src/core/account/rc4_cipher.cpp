#include "core/account/rc4_cipher.h"

#include <array>
#include <cstdint>
#include <utility>

namespace quillet {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  // The service's own reader looks every digit up in "0123456789ABCDEF" and
  // takes a miss as nothing; a stray character therefore adds 0.
  return 0;
}

}  // namespace

Bytes Rc4Transform(std::string_view key, std::string_view data) {
  std::array<std::uint8_t, 256> s{};
  for (int i = 0; i < 256; ++i) s[i] = static_cast<std::uint8_t>(i);
  Bytes out(data.begin(), data.end());
  if (key.empty()) return out;
  unsigned j = 0;
  for (unsigned i = 0; i < 256; ++i) {
    j = (j + s[i] + static_cast<std::uint8_t>(key[i % key.size()])) & 0xFF;
    std::swap(s[i], s[j]);
  }
  unsigned i = 0;
  j = 0;
  for (auto& byte : out) {
    i = (i + 1) & 0xFF;
    j = (j + s[i]) & 0xFF;
    std::swap(s[i], s[j]);
    byte ^= s[(s[i] + s[j]) & 0xFF];
  }
  return out;
}

Text EncipherText(std::string_view text, std::string_view key) {
  if (text.empty()) return {};
  if (key.empty()) return Text(text);
  const Bytes bytes = Rc4Transform(key, text);
  Text hex;
  hex.reserve(bytes.size() * 2);
  for (std::uint8_t b : bytes) {
    hex.push_back(kHexDigits[b >> 4]);
    hex.push_back(kHexDigits[b & 0x0F]);
  }
  return hex;
}

Text DecipherText(std::string_view text, std::string_view key) {
  if (text.empty()) return {};
  if (key.empty()) return Text(text);
  Text digits;
  digits.reserve(text.size());
  for (char c : text) {
    if (c != ' ') digits.push_back(c);
  }
  Text packed;
  packed.reserve(digits.size() / 2 + 1);
  for (std::size_t k = 0; k < digits.size(); k += 2) {
    int value = HexValue(digits[k]);
    if (k + 1 < digits.size()) value = value * 16 + HexValue(digits[k + 1]);
    packed.push_back(static_cast<char>(value & 0xFF));
  }
  const Bytes plain = Rc4Transform(key, packed);
  // The result is a text: it ends at its first zero byte.
  return TextFromBytes(plain);
}

}  // namespace quillet
