#include "core/script/json_gbk.h"

#include <cstdint>
#include <cstring>

#include "core/text/encodings.h"

namespace quillet::json {

namespace {

constexpr std::string_view kPlaceholder = "\xE2\x90\x80";  // U+2400 in UTF-8

std::string_view UpToZero(std::string_view s) {
  if (s.empty()) return s;
  const void* zero = std::memchr(s.data(), 0, s.size());
  return zero == nullptr
             ? s
             : s.substr(0, static_cast<std::size_t>(static_cast<const char*>(zero) - s.data()));
}

std::size_t AsciiRunEnd(std::string_view s, std::size_t i);

bool IsAscii(std::string_view s) { return AsciiRunEnd(s, 0) == s.size(); }

// The end of the run of ASCII bytes that starts at `i`.
std::size_t AsciiRunEnd(std::string_view s, std::size_t i) {
  for (; i + 8 <= s.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, s.data() + i, 8);
    if ((word & 0x8080808080808080ull) != 0) break;
  }
  while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80) ++i;
  return i;
}

// Replies and documents are mostly ASCII with a few non-ASCII stretches.
// Only those stretches go through the converter (ASCII is the same in both
// encodings); stretches closer than this many ASCII bytes are converted
// together to save converter calls.
constexpr std::size_t kAsciiGap = 48;

// Copies ASCII through and converts the rest with `convert`. `width(i)` gives
// the byte length of the non-ASCII character at i (its trail may look like
// ASCII in code page 936).
template <typename Width, typename Convert>
std::string ConvertMostlyAscii(std::string_view text, Width width, Convert convert) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    const std::size_t asciiStart = i;
    i = AsciiRunEnd(text, i);
    out.append(text, asciiStart, i - asciiStart);
    if (i >= n) break;
    const std::size_t start = i;
    std::size_t end = i;
    while (i < n) {
      if (static_cast<unsigned char>(text[i]) >= 0x80) {
        i += width(i);
        end = i < n ? i : n;
        continue;
      }
      const std::size_t next = AsciiRunEnd(text, i);
      if (next >= n || next - end >= kAsciiGap) break;
      i = next;
    }
    if (end > n) end = n;
    out += convert(text.substr(start, end - start));
    i = end;
  }
  return out;
}

}  // namespace

std::string Utf8FromAnsi(std::string_view ansi) {
  const std::string_view text = UpToZero(ansi);
  if (IsAscii(text)) return std::string(text);
  auto width = [&](std::size_t i) -> std::size_t {
    const auto b = static_cast<unsigned char>(text[i]);
    return b >= 0x81 && b <= 0xFE && i + 1 < text.size() ? 2 : 1;
  };
  return ConvertMostlyAscii(text, width, [](std::string_view piece) { return AnsiToUtf8(piece); });
}

std::string_view Utf8View(std::string_view ansi, std::string& storage) {
  const std::string_view text = UpToZero(ansi);
  if (IsAscii(text)) return text;
  storage = Utf8FromAnsi(text);
  return storage;
}

Text AnsiFromUtf8(std::string&& utf8, bool restoreBackslashes) {
  if (IsAscii(utf8) && std::memchr(utf8.data(), 0, utf8.size()) == nullptr) {
    return std::move(utf8);  // no placeholder either: it is not ASCII
  }
  return AnsiFromUtf8(std::string_view(utf8), restoreBackslashes);
}

Text AnsiFromUtf8(std::string_view utf8, bool restoreBackslashes) {
  std::string_view text = UpToZero(utf8);
  std::string restored;
  if (restoreBackslashes && text.find(kPlaceholder) != std::string_view::npos) {
    restored.reserve(text.size());
    std::size_t from = 0;
    for (std::size_t at = text.find(kPlaceholder); at != std::string_view::npos;
         at = text.find(kPlaceholder, from)) {
      restored.append(text, from, at - from);
      restored += '\\';
      from = at + kPlaceholder.size();
    }
    restored.append(text, from);
    text = restored;
  }
  if (IsAscii(text)) return Text(text);
  Text converted = ConvertMostlyAscii(
      text, [](std::size_t) -> std::size_t { return 1; },
      [](std::string_view piece) { return Utf8ToAnsi(piece); });
  converted.resize(UpToZero(converted).size());
  return converted;
}

std::string BackslashesToPlaceholders(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (const char c : utf8) {
    if (c == '\\') {
      out += kPlaceholder;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace quillet::json
