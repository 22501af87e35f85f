#include "core/account/unescape_reply.h"

#include <optional>
#include <string>

#include "core/text/encodings.h"

namespace quillet {
namespace {

// Stands in for a CR LF pair while the text passes through the literal,
// where a raw line break would end it.
constexpr std::string_view kLineBreakMarker = "{$}";
// A single quote would close the literal; it travels as the right single
// quotation mark (code page 936 A1 AF) and comes back afterwards.
constexpr std::string_view kQuoteStandIn = "\xA1\xAF";

using Units = std::u16string;

Units UnitsFromText(std::string_view text) {
  const Bytes bytes = AnsiToUtf16(text, /*dropTerminator=*/true);
  Units units;
  units.reserve(bytes.size() / 2);
  for (std::size_t k = 0; k + 1 < bytes.size(); k += 2) {
    units.push_back(static_cast<char16_t>(bytes[k] | (bytes[k + 1] << 8)));
  }
  return units;
}

Text TextFromUnits(const Units& units) {
  Bytes bytes;
  bytes.reserve(units.size() * 2 + 2);
  for (char16_t u : units) {
    bytes.push_back(static_cast<std::uint8_t>(u & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(u >> 8));
  }
  return Utf16ToAnsi(bytes);
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// Value of `count` hexadecimal digits at `at`, or -1.
long HexRun(const Units& s, std::size_t at, std::size_t count) {
  if (at + count > s.size()) return -1;
  long value = 0;
  for (std::size_t k = 0; k < count; ++k) {
    const int d = HexDigit(s[at + k]);
    if (d < 0) return -1;
    value = value * 16 + d;
  }
  return value;
}

bool IsLineTerminator(char16_t c) { return c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029; }

// The body of a single-quoted literal with its escapes resolved; nothing when
// it is no valid literal.
std::optional<Units> ReadStringLiteral(const Units& s) {
  Units out;
  out.reserve(s.size());
  for (std::size_t k = 0; k < s.size(); ++k) {
    const char16_t c = s[k];
    if (IsLineTerminator(c)) return std::nullopt;
    if (c != u'\\') {
      out.push_back(c);
      continue;
    }
    // A backslash at the very end escapes the closing quote: unterminated.
    if (k + 1 >= s.size()) return std::nullopt;
    const char16_t e = s[++k];
    switch (e) {
      case u'n':
        out.push_back(u'\n');
        break;
      case u'r':
        out.push_back(u'\r');
        break;
      case u't':
        out.push_back(u'\t');
        break;
      case u'b':
        out.push_back(u'\b');
        break;
      case u'f':
        out.push_back(u'\f');
        break;
      case u'v':
        out.push_back(u'\v');
        break;
      case u'0':
        if (k + 1 < s.size() && s[k + 1] >= u'0' && s[k + 1] <= u'9') {
          out.push_back(u'0');
        } else {
          out.push_back(u'\0');
        }
        break;
      case u'x': {
        const long v = HexRun(s, k + 1, 2);
        if (v < 0) return std::nullopt;
        out.push_back(static_cast<char16_t>(v));
        k += 2;
        break;
      }
      case u'u': {
        const long v = HexRun(s, k + 1, 4);
        if (v < 0) return std::nullopt;
        out.push_back(static_cast<char16_t>(v));
        k += 4;
        break;
      }
      case u'\r':
        // Line continuation; CR LF counts as one terminator.
        if (k + 1 < s.size() && s[k + 1] == u'\n') ++k;
        break;
      case u'\n':
      case 0x2028:
      case 0x2029:
        break;
      default:
        out.push_back(e);  // no escape: the backslash is dropped
        break;
    }
  }
  return out;
}

// The script function unescape(): "%uHHHH" and "%HH"; any other "%" stays.
Units Unescape(const Units& s) {
  Units out;
  out.reserve(s.size());
  for (std::size_t k = 0; k < s.size(); ++k) {
    if (s[k] == u'%') {
      if (k + 1 < s.size() && s[k + 1] == u'u') {
        const long v = HexRun(s, k + 2, 4);
        if (v >= 0) {
          out.push_back(static_cast<char16_t>(v));
          k += 5;
          continue;
        }
      }
      const long v = HexRun(s, k + 1, 2);
      if (v >= 0) {
        out.push_back(static_cast<char16_t>(v));
        k += 2;
        continue;
      }
    }
    out.push_back(s[k]);
  }
  return out;
}

Text DecodeAsUtf16(std::string_view text) { return Utf16ToAnsi(Bytes(text.begin(), text.end())); }

}  // namespace

Text UnescapeReply(std::string_view reply) {
  Text text = TextReplace(reply, "\r\n", kLineBreakMarker);
  if (!text.empty() && text.front() == '\r') text.erase(0, 1);
  text = TextReplace(text, "\\u", "%u");
  text = TextReplace(text, "'", kQuoteStandIn);

  Text chosen;
  if (const std::optional<Units> literal = ReadStringLiteral(UnitsFromText(text))) {
    chosen = TextFromUnits(Unescape(*literal));
  }
  if (chosen.empty()) chosen = DecodeAsUtf16(text);

  chosen = TextReplace(chosen, kQuoteStandIn, "'");
  return TextReplace(chosen, kLineBreakMarker, "\r\n");
}

}  // namespace quillet
