#pragma once

// The program's text type and its primitives.
//
// A Text is a byte string in code page 936 (GBK): ASCII bytes stand alone, a
// byte from 0x81 to 0xFE starts a double-byte character. Positions are
// 1-based byte positions, a double-byte character counting two; "not found"
// is -1. A search never matches at the second byte of a double-byte
// character, so a search text can never straddle two Chinese characters.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

using Text = std::string;
using Bytes = std::vector<std::uint8_t>;

// Bytes <-> Text. A Text ends at its first zero byte, as the program reads a
// body "as text".
Text TextFromBytes(const Bytes& bytes);
Bytes BytesFromText(std::string_view text);

// True when `b` starts a double-byte character.
bool IsLeadByte(std::uint8_t b);

// Forward search from `start` (below 1 means the beginning). An empty search
// text is found at 1 in a non-empty text and nowhere in an empty one.
long TextFind(std::string_view text, std::string_view what, long start = 1,
              bool ignoreCase = false);

// Backward search: the last match that begins at or before `start`
// (0 or less: anywhere). Same boundary and empty-text rules as TextFind.
long TextFindLast(std::string_view text, std::string_view what, long start = 0,
                  bool ignoreCase = false);

bool TextContains(std::string_view text, std::string_view what, bool ignoreCase = false);

// Replaces matches of `what` found from `start` on; `count` below 0 replaces
// all of them, otherwise at most `count`.
Text TextReplace(std::string_view text, std::string_view what, std::string_view with,
                 long start = 1, long count = -1, bool ignoreCase = false);

// Empty pieces at the front and between separators are kept; a trailing
// separator gives no empty last piece; an empty text gives no pieces.
std::vector<Text> TextSplit(std::string_view text, std::string_view separator);

// Removes ASCII spaces and the full-width space (A1 A1) at both ends.
Text TextTrim(std::string_view text);

// Byte-wise on unsigned bytes, a prefix sorting first: <0, 0, >0.
int TextCompare(std::string_view a, std::string_view b);

// Change ASCII letters only; double-byte characters are left alone.
Text TextUpper(std::string_view text);
Text TextLower(std::string_view text);

// The text strictly between the left marker (searched from `start`) and the
// next right marker. Every "#引号" in a marker stands for a double quote.
// Empty when either marker is missing.
Text TextBetween(std::string_view text, std::string_view left, std::string_view right,
                 long start = 1, bool ignoreCase = false);

// The text before the first `marker`; empty when it does not occur.
Text TextLeftOf(std::string_view text, std::string_view marker);

// The text after the last `marker`; empty when it does not occur. A negative
// `position` -n searches forward from n and takes the text after that first
// occurrence instead. A positive `position` only takes occurrences that begin
// at or before it.
Text TextAfterLast(std::string_view text, std::string_view marker, long position = 0);

// Non-overlapping occurrences; ASCII letter case ignored unless
// `caseSensitive`; 0 when either text is empty.
long CountOccurrences(std::string_view text, std::string_view what, bool caseSensitive = false);

// A UTF-8 literal of the program's own (messages, markers) as code page 936.
Text Gbk(std::string_view utf8);

}  // namespace quillet
