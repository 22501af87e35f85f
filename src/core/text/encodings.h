#pragma once

// Conversions between code page 936, UTF-8 and UTF-16LE, on iconv.
// Nothing is rejected: a character code page 936 cannot hold becomes "?", an
// invalid input sequence becomes the replacement character (U+FFFD; "?" once
// it reaches code page 936).

#include <string_view>

#include "core/text/text.h"

namespace quillet {

inline constexpr unsigned kCodePageGbk = 936;
inline constexpr unsigned kCodePageUtf8 = 65001;

// Code page 936 -> UTF-16LE bytes ending with one zero unit, which
// `dropTerminator` removes. An empty text gives empty bytes.
Bytes AnsiToUtf16(std::string_view text, bool dropTerminator = false);

// UTF-16LE -> code page 936, up to the first zero unit; an odd last byte is
// ignored.
Text Utf16ToAnsi(const Bytes& utf16);

// Text in `codePage` -> UTF-16LE bytes with terminator.
Bytes MultiByteToUtf16(std::string_view text, unsigned codePage = kCodePageUtf8);

// UTF-16LE -> text in `codePage` (936 when left out).
Text Utf16ToMultiByte(const Bytes& utf16, unsigned codePage = kCodePageGbk);

// UTF-8 held in a Text -> code page 936.
Text Utf8ToAnsi(std::string_view utf8);

// Code page 936 -> UTF-8, for the GUI and the platform layer.
Text AnsiToUtf8(std::string_view text);

// UTF-8 bytes -> code page 936. Empty bytes give an empty text.
Text Utf8BytesToAnsi(const Bytes& utf8);

// Percent-decoding of the update description and similar texts: "+" stays,
// malformed escapes give the bytes of their arithmetic (see the tests).
Text UrlDecode(std::string_view text, bool fromUtf8 = false);

// General converter for other callers (a page's declared character set,
// locale output): converts `input` from `fromCharset` to `toCharset` with the
// replacement rules above. Unknown character sets give the input unchanged.
// The input ends at its first zero unit, as for the routines above.
std::string ConvertCharset(std::string_view input, const char* fromCharset, const char* toCharset);

}  // namespace quillet
