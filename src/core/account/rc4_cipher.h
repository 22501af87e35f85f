#pragma once

// The optional request and reply cipher of the account service: RC4 over the
// code page 936 bytes, carried as hexadecimal digits.

#include <string_view>

#include "core/text/text.h"

namespace quillet {

// RC4 keyed with `key`, a fresh stream for every call, nothing discarded.
Bytes Rc4Transform(std::string_view key, std::string_view data);

// Empty text -> empty text; empty key -> the text unchanged; otherwise the
// RC4 bytes as upper-case hexadecimal digits, high nibble first.
Text EncipherText(std::string_view text, std::string_view key);

// Spaces are dropped; digits of either case are read two at a time (a final
// single one alone); a character that is no hexadecimal digit counts as 0.
// Empty text -> empty text; empty key -> the text unchanged.
Text DecipherText(std::string_view text, std::string_view key);

}  // namespace quillet
