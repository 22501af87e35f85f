#pragma once

// Paths into a value tree. A full path is a member-access chain on the root
// variable "da": da, da.name, da[0], da['name'], da["name"], chained. Reading
// and writing follow a script's rules: a member of null or of a missing value
// is an error, a member of a text, number or Boolean reads as missing and
// takes no writes, arrays and texts answer "length".

#include <string>
#include <string_view>
#include <vector>

#include "core/script/json_value.h"

namespace quillet::json {

// The name of the script variable that holds the root.
inline constexpr std::string_view kRootVariable = "da";

struct PathStep {
  std::string name;  // UTF-8; an index is held as its decimal text
};

struct Path {
  bool ok = false;
  std::vector<PathStep> steps;  // empty: the root itself
};

// Turns a caller's path into a full path: empty -> da, "[..." -> da[...,
// anything else -> da.<path>.
std::string QualifyPath(std::string_view path);

// Parses a full path (UTF-8). Not ok when it is not a member-access chain on
// the root variable.
Path ParsePath(std::string_view expression);

// The result of reading a path. `failed` is a script error; otherwise `value`
// is the value found, nullptr when missing.
struct Lookup {
  bool failed = true;
  const Value* value = nullptr;
  Value computed;  // holds a "length" answer that `value` points at

  Lookup() = default;
  Lookup(const Lookup&) = delete;
  Lookup& operator=(const Lookup&) = delete;
};

void ReadPath(const Value& root, const Path& path, Lookup& out);

enum class WriteResult { kFailed, kIgnored, kStored };

// Stores `value` at the path, creating a missing last member. A write to a
// member of a text, number or Boolean, or to a named property of an array,
// is accepted and has no effect (kIgnored). Fails on a member of null or of a
// missing value, and when the tree would get deeper than kMaxDepth or an
// array would have to grow by an unreasonable gap.
WriteResult WritePath(Value& root, const Path& path, Value value);

// The slot at the path for in-place edits (created absent when missing); null
// when the write would fail or be ignored.
Value* SlotAt(Value& root, const Path& path);

// A script's "delete": false for the root, a member of null or of a missing
// value and a length; a missing member is deleted successfully; an array
// element becomes a hole.
bool DeletePath(Value& root, const Path& path);

// A canonical array index ("0", "17"; no sign, no leading zero), if the name is one.
bool ArrayIndexOf(std::string_view name, std::size_t& index);

}  // namespace quillet::json
