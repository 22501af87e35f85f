#pragma once

// The one place that drives iconv: character-set names, per-thread cached
// conversion descriptors, and the replacement rules of the encodings.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillet::detail {

enum class CharsetKind { kUtf8, kUtf16Le, kUtf32Le, kOther };

struct Charset {
  std::string iconvName;
  CharsetKind kind = CharsetKind::kOther;
};

// Resolves a declared character-set name ("utf-8", "GB2312", "big5", ...).
Charset CharsetFromName(std::string_view name);

// Resolves a Windows code-page number; an empty iconv name when unknown.
Charset CharsetFromCodePage(unsigned codePage);

// Converts `input` (already cut at its terminator). An invalid input sequence
// becomes U+FFFD, a character the target cannot hold becomes "?". False when
// iconv knows either character set not.
bool Transcode(std::string_view input, const Charset& from, const Charset& to, std::string& out);
bool Transcode(std::string_view input, const Charset& from, const Charset& to,
               std::vector<std::uint8_t>& out);

// The input up to its first zero code unit of `kind` (odd trailing bytes of
// UTF-16/UTF-32 dropped).
std::string_view CutAtTerminator(std::string_view input, CharsetKind kind);

}  // namespace quillet::detail
