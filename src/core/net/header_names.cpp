#include "core/net/header_names.h"

#include "core/text/text.h"

namespace quillet {

namespace {

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return TextUpper(a) == TextUpper(b);
}

}  // namespace

Text NormaliseHeaderNames(std::string_view headers) {
  Text out;
  for (const Text& piece : TextSplit(headers, "\r\n")) {
    const std::size_t colon = piece.find(':');
    if (colon == Text::npos) continue;
    Text name = piece.substr(0, colon);
    // Every part of a hyphenated name gets its first letter raised; a name
    // without hyphens is the single-part case of the same rule.
    bool partStart = true;
    for (char& c : name) {
      if (partStart) c = UpperAscii(c);
      partStart = (c == '-');
    }
    out += name;
    out.append(piece, colon);
    out += "\r\n";
  }
  if (!out.empty()) out.resize(out.size() - 2);
  return out;
}

Text HeaderLineName(std::string_view line) {
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return {};
  return TextTrim(line.substr(0, colon));
}

Text HeaderLineValue(std::string_view line) {
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return {};
  return TextTrim(line.substr(colon + 1));
}

bool HasHeaderLine(std::string_view headers, std::string_view name) {
  for (const Text& line : TextSplit(headers, "\r\n")) {
    if (line.find(':') != Text::npos && EqualIgnoringCase(HeaderLineName(line), name)) return true;
  }
  return false;
}

}  // namespace quillet
