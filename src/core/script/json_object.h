#pragma once

// A JSON value (the root) with path-based reading, writing and text output.
// Paths are member-access chains relative to the root: names joined by ".",
// [n] indexes, ['name'] / ["name"]; the empty path is the root. Texts in and
// out are code page 936. Failures give false, the empty text, 0, -1 or an
// object with a null or absent root; nothing throws.
//
// Copies (Copy or the copy constructor) share one value until one of them is
// parsed again; GetObject and GetMemberObject give independent objects.

#include <memory>
#include <string_view>
#include <vector>

#include "core/text/text.h"

namespace quillet {

struct JsonStore;

namespace json {
struct Path;
struct Lookup;
class Value;
}  // namespace json

class JsonObject {
 public:
  JsonObject();  // root = {}

  void Destroy();  // drops the value; operations then fail until Initialize
  JsonObject Copy() const;
  void Initialize();  // a fresh store holding {}

  // Reads a reply or other JSON text. In evaluate mode (the default) a text
  // value is read once more as a literal: "[1]" gives an array, plain words
  // fail. An empty text gives an absent root (evaluate) or null (literal).
  // True when the root is neither null nor absent.
  bool Parse(std::string_view text, bool asLiteral = false);
  bool Clear();
  Text ToText() const;  // absent root: empty text

  // Text mode stores the value as a text (backslashes kept as U+2400 and
  // given back on output). Object mode merges an object literal into an object
  // at the path, otherwise stores the value evaluated as Parse does.
  bool SetValue(std::string_view path, std::string_view value, bool asObject = false);
  bool SetJson(std::string_view path, std::string_view jsonText);
  // Rewrites `path` to its full form (da, da[0], da.a.b) unless it already
  // names a value from the root variable; true when the value is not null.
  bool ResolvePath(Text& path) const;
  bool Exists(std::string_view path) const;
  // 0 null/absent, 1 Boolean, 2 number, 4 object, 5 array, 6 text, -1 error.
  int GetType(std::string_view path) const;
  Text GetText(std::string_view path, bool asJson = false) const;
  long GetNames(std::vector<Text>& names, std::string_view path = {}) const;
  long GetCount(std::string_view path) const;
  JsonObject GetObject(std::string_view path) const;
  // Unless `isLiteral`, the value is taken as a single-quoted script text: a
  // value holding a quote or a line break fails and changes nothing. A value
  // at the path that is not an array is first replaced by an empty one.
  bool AddMember(std::string_view value, std::string_view path = {}, bool isLiteral = false,
                 bool atFront = false);
  JsonObject GetMemberObject(long index, std::string_view path = {}) const;
  // Without `asJson` only a text element gives a text.
  Text GetMemberText(long index, std::string_view path = {}, bool asJson = false) const;
  bool SetMember(long index, std::string_view path, std::string_view value, bool isLiteral = false);
  // Negative indexes count from the end. True when an element was removed.
  bool RemoveMember(long index, std::string_view path = {});
  // An array element becomes a hole (null in JSON text). False for the root.
  bool Delete(std::string_view path);
  bool SetNumber(std::string_view path, double number);
  // Numbers as they are, true -1, false 0, numeric texts read; else 0.
  double GetNumber(std::string_view path) const;
  Text GetJsonText(std::string_view path) const;
  // The shared store (null after Destroy).
  std::shared_ptr<JsonStore> GetEngine() const;
  // Leaf values (texts, numbers, Booleans) in order, descending into objects
  // and arrays when `recursive`. Placeholders stay as they are here.
  long GetNodeValues(std::vector<Text>& values, std::string_view path = {},
                     bool recursive = false) const;

 protected:
  enum class Variant { kFull, kReply };
  explicit JsonObject(Variant variant);

  // Parse in the given mode without looking at the variant.
  bool ParseText(std::string_view text, bool asLiteral);
  bool AppendMember(std::string_view value, std::string_view path, bool isLiteral, bool atFront);
  // The JSON text of the element `index` of the value at `path` (or of that
  // value itself when `withIndex` is false), placeholders restored.
  Text JsonTextOf(std::string_view path, bool withIndex, long index) const;

 private:
  json::Path FullPath(std::string_view path, bool* found = nullptr) const;
  void Read(std::string_view path, json::Lookup& out) const;

  Variant variant_;
  std::shared_ptr<JsonStore> store_;
};

}  // namespace quillet
