#include "core/text/text.h"

#include <cstring>

#include "core/text/encodings.h"
#include "core/text/text_walk.h"

namespace quillet {

Text TextFromBytes(const Bytes& bytes) {
  if (bytes.empty()) return Text();
  const auto* begin = reinterpret_cast<const char*>(bytes.data());
  const void* zero = std::memchr(begin, 0, bytes.size());
  const std::size_t length = zero != nullptr
                                 ? static_cast<std::size_t>(static_cast<const char*>(zero) - begin)
                                 : bytes.size();
  return Text(begin, length);
}

Bytes BytesFromText(std::string_view text) { return Bytes(text.begin(), text.end()); }

bool IsLeadByte(std::uint8_t b) { return b >= 0x81 && b <= 0xFE; }

namespace {

bool IsFullWidthSpaceAt(std::string_view text, std::size_t i) {
  return i + 1 < text.size() && static_cast<std::uint8_t>(text[i]) == 0xA1 &&
         static_cast<std::uint8_t>(text[i + 1]) == 0xA1;
}

template <typename Fn>
Text MapSingleBytes(std::string_view text, Fn fn) {
  Text out(text);
  std::size_t i = 0;
  while (i < out.size()) {
    const std::size_t width = detail::CharWidthAt(out, i);
    if (width == 1) out[i] = fn(out[i]);
    i += width;
  }
  return out;
}

}  // namespace

Text TextTrim(std::string_view text) {
  // Walk whole characters so that an A1 A1 pair that is really the trail of one
  // character and the lead of the next is never taken for a space.
  std::size_t i = 0;
  std::size_t begin = text.size();
  std::size_t end = 0;
  while (i < text.size()) {
    const std::size_t width = detail::CharWidthAt(text, i);
    const bool space = text[i] == ' ' || (width == 2 && IsFullWidthSpaceAt(text, i));
    if (!space) {
      if (begin == text.size()) begin = i;
      end = i + width;
    }
    i += width;
  }
  if (begin >= end) return Text();
  return Text(text.substr(begin, end - begin));
}

int TextCompare(std::string_view a, std::string_view b) {
  const std::size_t common = a.size() < b.size() ? a.size() : b.size();
  const int c = common == 0 ? 0 : std::memcmp(a.data(), b.data(), common);
  if (c != 0) return c < 0 ? -1 : 1;
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

Text TextUpper(std::string_view text) {
  return MapSingleBytes(text, [](char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; });
}

Text TextLower(std::string_view text) {
  return MapSingleBytes(text, [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; });
}

Text Gbk(std::string_view utf8) { return Utf8ToAnsi(utf8); }

}  // namespace quillet
