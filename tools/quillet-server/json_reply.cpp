#include "json_reply.h"

#include <cstdint>
#include <cstdio>

namespace quillet::server {
namespace {

void AppendUnit(std::string& out, unsigned unit) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "\\u%04x", unit & 0xFFFF);
  out += buffer;
}

// Decodes one UTF-8 sequence at `k`; returns the code point (U+FFFD for a
// malformed one) and advances `k`.
char32_t NextCodePoint(std::string_view s, std::size_t& k) {
  const auto b0 = static_cast<unsigned char>(s[k]);
  int length = 0;
  char32_t cp = 0;
  if (b0 < 0x80) {
    ++k;
    return b0;
  } else if (b0 >= 0xC2 && b0 <= 0xDF) {
    length = 2;
    cp = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    length = 3;
    cp = b0 & 0x0F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    length = 4;
    cp = b0 & 0x07;
  } else {
    ++k;
    return 0xFFFD;
  }
  if (k + length > s.size()) {
    ++k;
    return 0xFFFD;
  }
  for (int i = 1; i < length; ++i) {
    const auto b = static_cast<unsigned char>(s[k + i]);
    if ((b & 0xC0) != 0x80) {
      ++k;
      return 0xFFFD;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  const bool overlong = (length == 3 && cp < 0x800) || (length == 4 && cp < 0x10000);
  if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++k;
    return 0xFFFD;
  }
  k += length;
  return cp;
}

}  // namespace

std::string JsonString(std::string_view utf8) {
  std::string out = "\"";
  for (std::size_t k = 0; k < utf8.size();) {
    const char32_t cp = NextCodePoint(utf8, k);
    if (cp == '"') {
      out += "\\\"";
    } else if (cp == '\\') {
      out += "\\\\";
    } else if (cp == '%') {
      // The client runs unescape() over the whole reply before reading the
      // JSON; a plain "%41" in a value would come back as "A".
      AppendUnit(out, '%');
    } else if (cp >= 0x20 && cp < 0x7F) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x10000) {
      AppendUnit(out, static_cast<unsigned>(cp));
    } else {
      const char32_t v = cp - 0x10000;
      AppendUnit(out, 0xD800 + static_cast<unsigned>(v >> 10));
      AppendUnit(out, 0xDC00 + static_cast<unsigned>(v & 0x3FF));
    }
  }
  out += '"';
  return out;
}

std::string JsonObjectText(const std::vector<std::pair<std::string, std::string>>& members) {
  std::string out = "{";
  for (const auto& [name, value] : members) {
    if (out.size() > 1) out += ',';
    out += JsonString(name);
    out += ':';
    out += JsonString(value);
  }
  out += '}';
  return out;
}

std::string ReplyText(long code, std::string_view msgJson) {
  return "{\"code\":" + std::to_string(code) + ",\"msg\":" + std::string(msgJson) + "}";
}

}  // namespace quillet::server
