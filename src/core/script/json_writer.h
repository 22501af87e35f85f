#pragma once

// Text output of values: JSON text the way a script's JSON.stringify writes it
// (no white space, the escape set that keeps invisible and line-breaking
// characters readable), and the text form a script's toString gives.

#include <string>

#include "core/script/json_value.h"

namespace quillet::json {

// Appends the JSON text of `value`. False (nothing written) for an absent
// value, which has no JSON text; absent members are left out and absent
// elements are written as null.
bool Stringify(const Value& value, std::string& out);

// The text form: a text itself, a number its ECMAScript form, "true"/"false",
// an array its elements' forms joined by "," (null and absent as empty), an
// object "[object Object]". Null and absent give the empty text.
std::string ToDisplayText(const Value& value);

// ECMAScript truth: non-empty text, any object or array, a number other than
// zero; null and absent are false.
bool ToBoolean(const Value& value);

}  // namespace quillet::json
