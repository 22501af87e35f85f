#pragma once

#include "core/script/json_value.h"

namespace quillet::json {

// Merges `source` into `target` (its pieces are moved out):
// - an array target gets every element of an array source appended;
// - an object target takes each member of the source (the elements of an
//   array source under their index names): a target member that is missing,
//   a text, a Boolean, a number or null is replaced by the source member; an
//   object or array member is merged recursively;
// - a text, number or Boolean target stays as it is.
// Replacing numbers and nulls is our choice: a script engine's merge fails
// there half-way, leaving the members before it changed.
void Extend(Value& target, Value& source);

}  // namespace quillet::json
