#pragma once

// Reads the script-source texts that JsonObject takes (replies, SetJson,
// object-mode values, literal members) into a value tree. Accepted: JSON, plus
// the forms a hand-written script literal commonly has: texts in single
// quotes, unquoted (identifier or numeric) member names, the script escapes
// \' \v \0 \xHH and an escaped line break. Everything else (comments,
// expressions, trailing commas, hexadecimal or octal numbers) is rejected.
// Nesting deeper than kMaxDepth is rejected. Input and texts are UTF-8.

#include <string_view>

#include "core/script/json_value.h"

namespace quillet::json {

struct ParseResult {
  bool ok = false;
  Value value;
};

// The text as one literal value.
ParseResult ParseLiteral(std::string_view source);

// The text as the argument of a script's eval(): a literal whose value is a
// text is evaluated once more as a statement. Its content then gives an array,
// number, Boolean, null or quoted text literal; empty content gives an absent
// value; plain words, an object text (a block there) and anything else fail.
ParseResult ParseEvaluated(std::string_view source);

// Reads one quoted text literal (' or ") starting at s[pos]; on success pos is
// past the closing quote. Used for the bracketed names of paths.
bool ParseQuotedAt(std::string_view s, std::size_t& pos, std::string& out);

}  // namespace quillet::json
