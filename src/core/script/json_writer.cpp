#include "core/script/json_writer.h"

#include <array>
#include <cstdint>

#include "core/script/json_number.h"
#include "core/script/json_scan.h"

namespace quillet::json {

namespace {

constexpr char kHex[] = "0123456789abcdef";

// Bytes that end a run written as it is: ASCII that needs an escape, and the
// UTF-8 lead bytes of the only blocks that hold escaped characters (C1
// controls and U+00AD, U+06xx, U+07xx, U+1xxx, U+2xxx, U+Fxxx). Chinese text
// never stops the run.
constexpr ByteSet kRunStops = [] {
  ByteSet t{};
  for (int c = 0; c < 0x20; ++c) t[c] = true;
  t['"'] = t['\\'] = t[0x7F] = true;
  t[0xC2] = t[0xD8] = t[0xDC] = t[0xE1] = t[0xE2] = t[0xEF] = true;
  return t;
}();

// Characters outside ASCII that are written as \u escapes: C1 controls, the
// soft hyphen and the invisible format characters and separators that would
// otherwise vanish or break lines in whatever shows the text.
bool NeedsUnicodeEscape(std::uint32_t cp) {
  return (cp >= 0x7F && cp <= 0x9F) || cp == 0xAD || (cp >= 0x600 && cp <= 0x604) || cp == 0x70F ||
         cp == 0x17B4 || cp == 0x17B5 || (cp >= 0x200C && cp <= 0x200F) ||
         (cp >= 0x2028 && cp <= 0x202F) || (cp >= 0x2060 && cp <= 0x206F) || cp == 0xFEFF ||
         cp >= 0xFFF0;
}

void AppendUnicodeEscape(std::uint32_t cp, std::string& out) {
  out += "\\u";
  out += kHex[(cp >> 12) & 0xF];
  out += kHex[(cp >> 8) & 0xF];
  out += kHex[(cp >> 4) & 0xF];
  out += kHex[cp & 0xF];
}

// Decodes one UTF-8 sequence at s[i] (the caller knows s[i] >= 0x80). Returns
// its length; an ill-formed byte counts as one byte with no code point to
// escape.
std::size_t DecodeAt(const std::string& s, std::size_t i, std::uint32_t& cp) {
  const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char lead = b(i);
  std::size_t len = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  if (len == 1 || i + len > s.size()) {
    cp = 0;
    return 1;
  }
  cp = lead & (len == 2 ? 0x1F : len == 3 ? 0x0F : 0x07);
  for (std::size_t k = 1; k < len; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) {
      cp = 0;
      return 1;
    }
    cp = (cp << 6) | (b(i + k) & 0x3F);
  }
  return len;
}

void AppendQuoted(const std::string& s, std::string& out) {
  out += '"';
  std::size_t i = 0;
  const std::size_t n = s.size();
  while (i < n) {
    const std::size_t run = RunEnd(kRunStops, s.data(), i, n);
    out.append(s, i, run - i);
    i = run;
    if (i >= n) break;
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      switch (c) {
        case '\b':
          out += "\\b";
          break;
        case '\t':
          out += "\\t";
          break;
        case '\n':
          out += "\\n";
          break;
        case '\f':
          out += "\\f";
          break;
        case '\r':
          out += "\\r";
          break;
        case '"':
          out += "\\\"";
          break;
        case '\\':
          out += "\\\\";
          break;
        default:
          AppendUnicodeEscape(c, out);
          break;
      }
      ++i;
      continue;
    }
    std::uint32_t cp = 0;
    const std::size_t len = DecodeAt(s, i, cp);
    if (NeedsUnicodeEscape(cp)) {
      AppendUnicodeEscape(cp, out);
    } else {
      out.append(s, i, len);
    }
    i += len;
  }
  out += '"';
}

void AppendNumber(double n, std::string& out) {
  if (n != n || n - n != 0) {  // NaN or infinite
    out += "null";
  } else {
    AppendNumberText(n, out);
  }
}

void AppendDisplayText(const Value& value, std::string& out) {
  switch (value.kind()) {
    case Kind::kAbsent:
    case Kind::kNull:
      break;
    case Kind::kBoolean:
      out += value.AsBoolean() ? "true" : "false";
      break;
    case Kind::kNumber:
      AppendNumberText(value.AsNumber(), out);
      break;
    case Kind::kText:
      out += value.AsText();
      break;
    case Kind::kArray: {
      bool first = true;
      for (const Value& element : value.AsArray()) {
        if (!first) out += ',';
        first = false;
        AppendDisplayText(element, out);
      }
      break;
    }
    case Kind::kObject:
      out += "[object Object]";
      break;
  }
}

}  // namespace

bool Stringify(const Value& value, std::string& out) {
  switch (value.kind()) {
    case Kind::kAbsent:
      return false;
    case Kind::kNull:
      out += "null";
      return true;
    case Kind::kBoolean:
      out += value.AsBoolean() ? "true" : "false";
      return true;
    case Kind::kNumber:
      AppendNumber(value.AsNumber(), out);
      return true;
    case Kind::kText:
      AppendQuoted(value.AsText(), out);
      return true;
    case Kind::kArray: {
      out += '[';
      bool first = true;
      for (const Value& element : value.AsArray()) {
        if (!first) out += ',';
        first = false;
        if (!Stringify(element, out)) out += "null";
      }
      out += ']';
      return true;
    }
    case Kind::kObject: {
      out += '{';
      bool first = true;
      for (const Member& m : value.AsObject().Members()) {
        if (m.value.IsAbsent()) continue;
        if (!first) out += ',';
        first = false;
        AppendQuoted(m.name, out);
        out += ':';
        Stringify(m.value, out);
      }
      out += '}';
      return true;
    }
  }
  return false;
}

std::string ToDisplayText(const Value& value) {
  std::string out;
  AppendDisplayText(value, out);
  return out;
}

bool ToBoolean(const Value& value) {
  switch (value.kind()) {
    case Kind::kAbsent:
    case Kind::kNull:
      return false;
    case Kind::kBoolean:
      return value.AsBoolean();
    case Kind::kNumber:
      return value.AsNumber() != 0;  // NaN counts as not zero, as a variant conversion does
    case Kind::kText:
      return !value.AsText().empty();
    case Kind::kArray:
    case Kind::kObject:
      return true;
  }
  return false;
}

}  // namespace quillet::json
